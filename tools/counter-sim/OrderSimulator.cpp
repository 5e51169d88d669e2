#include "OrderSimulator.h"

#include "data/DbConnection.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"

namespace {

const QString insertSql = QStringLiteral(
    "insert into LISTE_COMMANDE (NUM_VENTE, DATE_VENTE, TIME_VENTE, NUMERO_TABLE, VALIDE, COLOR, CUISEN, PRIX, "
    "CLE_ART, ARTICLE, QTE, TIME_ORDER, WAJBA_ORDER, TAILLE) values (:NUM_VENTE, :DATE_VENTE, :TIME_VENTE, "
    ":NUMERO_TABLE, :VALIDE, :COLOR, :CUISEN, :PRIX, :CLE_ART, :ARTICLE, :QTE, :TIME_ORDER, :WAJBA_ORDER, :TAILLE)");

constexpr int highestNumber = 999; // what the voice can call

void bind(DbStatement &insert, int number, const QDateTime &sold, int table, const QString &validated,
          const OrderSimulator::Article &article, const QString &kitchen, double quantity, const DbValue &validatedAt,
          int meal, const DbValue &size)
{
    insert.setParam(0, number);
    insert.setParam(1, sold); // a DATE column keeps the day, a TIMESTAMP column the time too
    insert.setParam(2, TimeOfDay::fromQTime(sold.time()));
    insert.setParam(3, double(table));
    insert.setParam(4, validated);
    insert.setParam(5, article.colour);
    insert.setParam(6, kitchen);
    insert.setParam(7, article.price * quantity);
    insert.setParam(8, article.key);
    insert.setParam(9, article.name);
    insert.setParam(10, quantity);
    insert.setParam(11, validatedAt);
    insert.setParam(12, meal);
    insert.setParam(13, size);
}

} // namespace

const QList<OrderSimulator::Article> &OrderSimulator::articles()
{
    const QStringList sml = {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")};
    const QStringList arabicSizes = {QStringLiteral("صغير"), QStringLiteral("وسط"), QStringLiteral("كبير")};
    static const QList<Article> list = {
        {101, QStringLiteral("Pizza Margherita"), QStringLiteral("Pizza"), 0x0080FF, 650, sml},
        {102, QStringLiteral("Pizza 4 fromages"), QStringLiteral("Pizza"), 0x0080FF, 800, sml},
        {103, QStringLiteral("بيتزا خضار"), QStringLiteral("Pizza"), 0x0080FF, 700, arabicSizes},
        {201, QStringLiteral("Tacos poulet"), QStringLiteral("Grill"), 0x3030D0, 550, {QStringLiteral("M"), QStringLiteral("XL")}},
        {202, QStringLiteral("Sandwich merguez"), QStringLiteral("Grill"), 0x3030D0, 400, {}},
        {203, QStringLiteral("شاورما دجاج"), QStringLiteral("مشويات"), 0x2060A0, 450, arabicSizes},
        {204, QStringLiteral("Frites"), QStringLiteral("Grill"), 0x3030D0, 200, {}},
        {301, QStringLiteral("كسكس باللحم"), QStringLiteral("Cuisine"), 0x40B040, 900, {}},
        {302, QStringLiteral("Salade niçoise"), QStringLiteral("Cuisine"), 0x40B040, 500, sml},
        {303, QStringLiteral("Chorba frik"), QStringLiteral("Cuisine"), 0x40B040, 300, {}},
        {401, QStringLiteral("Crêpe au chocolat"), QStringLiteral("Desserts"), 0xC080FF, 350, {}},
        {402, QStringLiteral("قلب اللوز"), QStringLiteral("Desserts"), 0xC080FF, 150, {}},
        {501, QStringLiteral("Café crème"), QStringLiteral("Boissons"), 0xF0C040, 120, {}},
        {502, QStringLiteral("عصير برتقال"), QStringLiteral("Boissons"), 0xF0C040, 250, sml},
    };
    return list;
}

OrderSimulator::OrderSimulator(DbConnection &connection, quint32 seed)
    : m_connection(connection)
    , m_random(seed)
{
}

QList<OrderSimulator::Line> OrderSimulator::makeOrder(int number, QDate date, int secondsOfDay)
{
    const QList<Article> &list = articles();
    std::uniform_int_distribution<int> lineCount(1, 4);
    std::uniform_int_distribution<int> pick(0, int(list.size()) - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> table(1, 20);
    std::uniform_int_distribution<int> quantity(1, 3);

    QList<Line> lines;
    const int n = lineCount(m_random);
    const int tableNumber = table(m_random);
    for (int i = 0; i < n; ++i) {
        const Article &article = list.at(pick(m_random));
        Line line {};
        line.number = number;
        line.date = date;
        line.secondsOfDay = qMin(secondsOfDay + i, 86399);
        line.table = tableNumber;
        line.article = &article;
        // a few lines the counter-sale system sends to no kitchen
        line.kitchen = percent(m_random) < 3 ? QString() : article.kitchen;
        line.quantity = percent(m_random) < 5 ? 0.5 : double(quantity(m_random));
        if (article.sizes.isEmpty() || percent(m_random) < 5) {
            line.sizeIsNull = true;
        } else {
            line.size = article.sizes.at(std::uniform_int_distribution<int>(0, int(article.sizes.size()) - 1)(m_random));
        }
        line.meal = percent(m_random) < 30 ? 1 : 0;
        lines.append(line);
    }
    return lines;
}

qint64 OrderSimulator::fillHistory(int days, int linesPerDay)
{
    if (days <= 0 || linesPerDay <= 0)
        return 0;
    DbStatement insert(m_connection, insertSql);
    const QDate today = QDate::currentDate();
    qint64 written = 0;
    m_connection.startTransaction();
    try {
        for (int day = days; day >= 1; --day) {
            const QDate date = today.addDays(-day);
            int number = 0;
            int lines = 0;
            // the day's sales spread from 11:00 to 23:00
            const int open = 11 * 3600;
            const int span = 12 * 3600;
            while (lines < linesPerDay) {
                number = number % highestNumber + 1;
                const int second = open + int(qint64(span) * lines / linesPerDay);
                for (const Line &line : makeOrder(number, date, second)) {
                    if (lines >= linesPerDay)
                        break;
                    const QDateTime sold(date, QTime(0, 0).addSecs(line.secondsOfDay));
                    const DbValue validatedAt(TimeOfDay::fromQTime(sold.time().addSecs(600)));
                    bind(insert, line.number, sold, line.table, QStringLiteral("True"), *line.article, line.kitchen,
                         line.quantity, validatedAt, line.meal, line.sizeIsNull ? DbValue() : DbValue(line.size));
                    insert.execute();
                    ++lines;
                    ++written;
                }
            }
        }
        m_connection.commit();
    } catch (...) {
        m_connection.rollback();
        throw;
    }
    return written;
}

int OrderSimulator::nextNumber(QDate date)
{
    if (m_numberDate != date) {
        // carry on from what is stored for that day (the simulator may have been restarted)
        DbQuery last(m_connection,
                     QStringLiteral("select max(NUM_VENTE) from LISTE_COMMANDE where DATE_VENTE >= :D and "
                                    "DATE_VENTE < cast(:D as date) + 1"));
        last.setParam(0, date);
        last.open();
        m_number = int(last.row(0).at(0).toInteger());
        m_numberDate = date;
    }
    m_number = m_number % highestNumber + 1;
    return m_number;
}

int OrderSimulator::addOrder(QDate date)
{
    const int number = nextNumber(date);
    const QTime now = QTime::currentTime();
    const QList<Line> lines = makeOrder(number, date, now.msecsSinceStartOfDay() / 1000);
    DbStatement insert(m_connection, insertSql);
    m_connection.startTransaction();
    try {
        for (const Line &line : lines) {
            bind(insert, line.number, QDateTime(date, now), line.table, QStringLiteral("False"), *line.article,
                 line.kitchen, line.quantity, DbValue(), line.meal, line.sizeIsNull ? DbValue() : DbValue(line.size));
            insert.execute();
        }
        m_connection.commit();
    } catch (...) {
        m_connection.rollback();
        throw;
    }
    m_lastOrderLines = int(lines.size());
    return number;
}
