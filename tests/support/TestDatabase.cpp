#include "TestDatabase.h"

#include "CounterSaleSchema.h"
#include "app/StationError.h"
#include "data/DbQuery.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>



namespace {
QString serverFor(TestDatabase::Where where)
{
    const QString environment = TestDatabase::serverFromEnvironment();
    switch (where) {
    case TestDatabase::Where::Embedded:
        return QString();
    case TestDatabase::Where::Server:
        return environment.isEmpty() ? QStringLiteral("localhost") : environment;
    case TestDatabase::Where::FromEnvironment:
        break;
    }
    return environment;
}
} // namespace

TestDatabase::TestDatabase(const QString &fixture, Where where)
    : TestDatabase(fixture, serverFor(where))
{
}

TestDatabase::TestDatabase(const QString &fixture, const QString &server)
    : m_directory(QDir::tempPath() + QStringLiteral("/station-test-XXXXXX"))
{
    if (!m_directory.isValid())
        throw StationError(QStringLiteral("Cannot make a temporary folder: %1").arg(m_directory.errorString()));

    m_server = !server.isEmpty();
    const QString file = m_directory.filePath(QStringLiteral("test.fdb"));
    if (m_server) {
        // the server runs as its own user and creates the file itself
        QFile::setPermissions(m_directory.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                                      | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
        m_settings.database = server + QLatin1Char(':') + file;
        m_settings.password = serverPassword();
    } else {
        m_settings.database = file;
    }

    m_connection = std::make_unique<DbConnection>();
    DbConnection::CreateOptions options;
    options.forcedWrites = false; // a test database need not survive a power cut
    m_connection->create(m_settings, options);
    try {
        if (!fixture.isEmpty())
            run(fixture);
    } catch (...) {
        // the destructor does not run for a half-made object
        m_connection->drop();
        throw;
    }
}

TestDatabase::~TestDatabase()
{
    try {
        if (m_connection)
            attached().drop();
    } catch (const StationError &error) {
        // another attachment still open (a test that failed half-way): the
        // folder goes anyway, the server lets go of the file when it closes
        qWarning("dropping the test database: %s", error.what());
    }
}

DbConnection &TestDatabase::attached()
{
    if (!m_connection->isOpen())
        m_connection->open(m_settings);
    return *m_connection;
}

void TestDatabase::detach()
{
    m_connection->close();
}

void TestDatabase::run(const QString &script)
{
    attached().executeScript(script);
}

qint64 TestDatabase::insertLine(const FixtureLine &line)
{
    DbQuery insert(attached(),
                   QStringLiteral("insert into LISTE_COMMANDE (CLE_LISTE_COMMANDE, NUM_VENTE, DATE_VENTE, TIME_VENTE, "
                                  "NUMERO_TABLE, VALIDE, COLOR, CUISEN, PRIX, CLE_ART, ARTICLE, QTE, TIME_ORDER, "
                                  "WAJBA_ORDER, TAILLE) values (:CLE_LISTE_COMMANDE, :NUM_VENTE, :DATE_VENTE, "
                                  ":TIME_VENTE, :NUMERO_TABLE, :VALIDE, :COLOR, :CUISEN, :PRIX, :CLE_ART, :ARTICLE, "
                                  ":QTE, :TIME_ORDER, :WAJBA_ORDER, :TAILLE) returning CLE_LISTE_COMMANDE"));
    const QList<DbValue> values = {line.CLE_LISTE_COMMANDE, line.NUM_VENTE, line.DATE_VENTE, line.TIME_VENTE,
                                   line.NUMERO_TABLE, line.VALIDE, line.COLOR, line.CUISEN,
                                   line.PRIX, line.CLE_ART, line.ARTICLE, line.QTE,
                                   line.TIME_ORDER, line.WAJBA_ORDER, line.TAILLE};
    for (int i = 0; i < values.size(); ++i)
        insert.setParam(i, values.at(i));
    insert.open();
    return insert.asInteger(QStringLiteral("CLE_LISTE_COMMANDE"));
}

std::unique_ptr<DbConnection> TestDatabase::connect() const
{
    auto connection = std::make_unique<DbConnection>();
    connection->open(m_settings);
    return connection;
}

QString TestDatabase::schema()
{
    return CounterSaleSchema::tablesScript() + CounterSaleSchema::indexesScript();
}

QString TestDatabase::timestampSchema()
{
    CounterSaleSchema::Options options;
    options.dateVenteAsTimestamp = true;
    return CounterSaleSchema::tablesScript(options) + CounterSaleSchema::indexesScript();
}

QString TestDatabase::users()
{
    return CounterSaleSchema::usersScript();
}

QString TestDatabase::serverFromEnvironment()
{
    return qEnvironmentVariable("STATION_TEST_SERVER");
}

QString TestDatabase::serverPassword()
{
    const QString path = QStringLiteral("/etc/firebird/3.0/SYSDBA.password");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StationError(QStringLiteral("Cannot read the server's password in %1: %2").arg(path, file.errorString()));
    static const QRegularExpression line(QStringLiteral("^\\s*ISC_PASSWORD\\s*=\\s*\"?([^\"\\n]*)\"?\\s*$"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(file.readAll()));
    if (!match.hasMatch())
        throw StationError(QStringLiteral("%1 holds no ISC_PASSWORD line").arg(path));
    return match.captured(1);
}
