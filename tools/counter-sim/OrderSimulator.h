#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <random>

class DbConnection;

/// Writes order lines into LISTE_COMMANDE as the counter-sale system does:
/// order numbers that restart at 1 each day (and after 999), one to four
/// lines per order, French and Arabic article names, the kitchen's colour, a
/// size (a few NULL), a few lines for no kitchen (empty CUISEN).
class OrderSimulator
{
public:
    explicit OrderSimulator(DbConnection &connection, quint32 seed = 1);

    /// Fills the days before today, lines validated as a kitchen leaves
    /// them, in one transaction with one prepared statement. Returns the
    /// number of lines written.
    qint64 fillHistory(int days, int linesPerDay);

    /// One new order of the given day (pending lines), committed at once.
    /// Returns its number.
    int addOrder(QDate date = QDate::currentDate());

    /// The line count of the last addOrder().
    int lastOrderLines() const { return m_lastOrderLines; }

    struct Article
    {
        int key;
        QString name;
        QString kitchen;
        int colour; ///< Windows colour value: red in the low byte
        double price;
        QStringList sizes; ///< empty: the article has no size (NULL)
    };
    static const QList<Article> &articles();

private:
    struct Line
    {
        int number;
        QDate date;
        int secondsOfDay;
        int table;
        const Article *article;
        QString kitchen;
        double quantity;
        QString size;
        bool sizeIsNull;
        int meal;
    };
    QList<Line> makeOrder(int number, QDate date, int secondsOfDay);
    int nextNumber(QDate date);

    DbConnection &m_connection;
    std::mt19937 m_random;
    QDate m_numberDate;
    int m_number = 0;
    int m_lastOrderLines = 0;
};
