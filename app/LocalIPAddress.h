#pragma once

#include <QString>

/// The host's IPv4 address in dotted-decimal form: the last address that the
/// resolver lists for the host's own name, or an empty text when the name does
/// not resolve.
QString LocalIPAddress();

/// The last IPv4 address that the resolver lists for hostName, or an empty text.
QString lastIPv4AddressOf(const QString &hostName);
