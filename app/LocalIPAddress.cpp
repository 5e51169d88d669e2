#include "app/LocalIPAddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

QString LocalIPAddress()
{
    char name[64] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    return lastIPv4AddressOf(QString::fromLocal8Bit(name));
}

QString lastIPv4AddressOf(const QString &hostName)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    // One entry per address: without a socket type the resolver repeats each
    // address for every type.
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    if (getaddrinfo(hostName.toLocal8Bit().constData(), nullptr, &hints, &list) != 0)
        return {};

    QString result;
    for (const addrinfo *entry = list; entry; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *address = reinterpret_cast<const sockaddr_in *>(entry->ai_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
            result = QString::fromLatin1(text);
    }
    freeaddrinfo(list);
    return result;
}
