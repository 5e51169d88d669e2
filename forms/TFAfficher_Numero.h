#pragma once

#include <QString>
#include <QTime>
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

/// The customer display: a second window that shows the order number being
/// called in very large digits, the article under it, and a clock. Created
/// hidden at start-up and kept for the whole run; closing it only hides it.
class TFAfficher_Numero : public QWidget
{
    Q_OBJECT

public:
    explicit TFAfficher_Numero(QWidget *parent = nullptr);
    ~TFAfficher_Numero() override;

    /// Shows number and article, unchanged and as plain text. The number is
    /// repainted at once; the article when pending paints are next processed.
    /// Works the same while the window is hidden: it shows the texts when shown.
    void afficherNumero(const QString &number, const QString &article);

    /// Makes the display visible, restores it if minimised, and brings it to
    /// the front; calling it again while visible only brings it to the front.
    void showInFront();

    QString numberText() const;
    /// The whole article text; the article line may show it shortened.
    QString articleText() const;
    /// The text the clock box shows.
    QString clockText() const;

    /// Where the clock reads the time; by default the local time of day.
    void setClock(std::function<QTime()> clock);

Q_SIGNALS:
    /// The window was closed by its close box or the window system, and is
    /// now hidden.
    void closed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void layoutRegions();
    void fitNumber();
    void fitArticle();
    void tick();

    QLabel *m_banner;
    QLabel *m_caption;
    QLabel *m_number;
    QWidget *m_clockStrip;
    QLabel *m_clock;
    QLabel *m_logo;
    QLabel *m_article;
    QTimer *m_clockTimer;
    QString m_articleText;
    std::function<QTime()> m_clockSource;
};
