#include "forms/TFAfficher_Numero.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QColor background(34, 50, 86);
const QColor numberColour(255, 242, 6);
const QColor articleBackground(236, 0, 0);
const QColor clockBackground(255, 0, 0);

// Region heights, in pixels at 96 dpi; the number takes what is left.
constexpr int bannerHeight = 129;
constexpr int captionHeight = 77;
constexpr int clockStripHeight = 62;
constexpr int articleHeight = 75;
constexpr QSize clockBoxSize(203, 65);
constexpr int clockBoxLeft = 8;
constexpr QSize logoBoxSize(63, 62);

// The number's character height on a 1920 x 1080 window; it grows with larger
// windows and shrinks only where the number would not fit otherwise.
constexpr int numberPixelSize = 280;
constexpr QSize referenceScreen(1920, 1080);

QFont makeFont(const QStringList &families, int pixelSize, bool bold = false)
{
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// Windows family names first, then the metric-compatible faces that stand in for them here.
const QStringList calibri { u"Calibri"_s, u"Carlito"_s };
const QStringList tahoma { u"Tahoma"_s, u"DejaVu Sans"_s };

QLabel *makeLabel(QWidget *parent, const QString &objectName, const QColor &text, const QColor &fill,
                  const QFont &f, Qt::Alignment alignment)
{
    auto *l = new QLabel(parent);
    l->setObjectName(objectName);
    l->setTextFormat(Qt::PlainText); // texts from the database are shown as they are, never as markup
    l->setAutoFillBackground(true);
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, fill);
    palette.setColor(QPalette::WindowText, text);
    l->setPalette(palette);
    l->setFont(f);
    l->setAlignment(alignment);
    return l;
}

} // namespace

TFAfficher_Numero::TFAfficher_Numero(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_clockSource([] { return QTime::currentTime(); })
{
    setObjectName(u"FAfficher_Numero"_s);
    // Only the main window's closing ends the program; this one just hides.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);
    resize(referenceScreen);
    setWindowState(Qt::WindowMaximized);

    m_banner = makeLabel(this, u"banner"_s, Qt::white, background, makeFont(calibri, 12), Qt::AlignCenter);
    m_banner->setPixmap(QPixmap(u":/display/banner.jpg"_s));

    m_caption = makeLabel(this, u"caption"_s, Qt::white, background, makeFont(calibri, 57),
                          Qt::AlignHCenter | Qt::AlignBottom);
    m_caption->setText(u"التذكرة رقم"_s);

    m_number = makeLabel(this, u"number"_s, numberColour, background, makeFont(tahoma, numberPixelSize),
                         Qt::AlignCenter);
    m_number->setText(u"0"_s);

    m_clockStrip = new QWidget(this);
    m_clockStrip->setObjectName(u"clockStrip"_s);
    m_logo = makeLabel(m_clockStrip, u"logo"_s, Qt::white, background, makeFont(calibri, 12),
                       Qt::AlignLeft | Qt::AlignTop);
    m_logo->setPixmap(QPixmap(u":/display/logo.png"_s));
    m_logo->setFixedSize(logoBoxSize);

    m_article = makeLabel(this, u"article"_s, Qt::white, articleBackground, makeFont(calibri, 53, true),
                          Qt::AlignCenter);

    // The clock box overhangs its strip by a pixel at the top and two at the
    // bottom, so it sits on the window itself, above the article line.
    m_clock = makeLabel(this, u"clock"_s, Qt::white, clockBackground, makeFont(calibri, 48), Qt::AlignCenter);
    m_clock->setFixedSize(clockBoxSize);
    m_clock->raise();

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(1000);
    m_clockTimer->setTimerType(Qt::PreciseTimer);
    connect(m_clockTimer, &QTimer::timeout, this, &TFAfficher_Numero::tick);
    m_clockTimer->start();
    tick();

    layoutRegions();
}

TFAfficher_Numero::~TFAfficher_Numero() = default;

void TFAfficher_Numero::afficherNumero(const QString &number, const QString &article)
{
    m_number->setText(number);
    fitNumber();
    // Painted now, before the voice announcement blocks the thread. The article
    // is set only afterwards, so that this repaint does not take it along: it
    // is painted with the next pending paints.
    m_number->repaint();
    m_articleText = article;
    fitArticle();
}

void TFAfficher_Numero::showInFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QString TFAfficher_Numero::numberText() const
{
    return m_number->text();
}

QString TFAfficher_Numero::articleText() const
{
    return m_articleText;
}

QString TFAfficher_Numero::clockText() const
{
    return m_clock->text();
}

void TFAfficher_Numero::setClock(std::function<QTime()> clock)
{
    m_clockSource = std::move(clock);
    tick();
}

void TFAfficher_Numero::tick()
{
    // Fixed digits, whatever the locale: 24-hour clock, two digits each.
    m_clock->setText(m_clockSource().toString(u"HH:mm:ss"_s));
}

void TFAfficher_Numero::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutRegions();
}

void TFAfficher_Numero::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    layoutRegions();
}

void TFAfficher_Numero::closeEvent(QCloseEvent *event)
{
    // Accepting hides the window; it is not deleted, and keeps its texts.
    event->accept();
    Q_EMIT closed();
}

void TFAfficher_Numero::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutDirectionChange)
        layoutRegions();
}

void TFAfficher_Numero::layoutRegions()
{
    // The regions stand where they stand in either reading order: the clock at
    // the left and the logo at the right, as the customers know them.
    const int w = width();
    const int numberHeight
        = std::max(0, height() - bannerHeight - captionHeight - clockStripHeight - articleHeight);
    int y = 0;
    m_banner->setGeometry(0, y, w, bannerHeight);
    y += bannerHeight;
    m_caption->setGeometry(0, y, w, captionHeight);
    y += captionHeight;
    m_number->setGeometry(0, y, w, numberHeight);
    y += numberHeight;
    m_clockStrip->setGeometry(0, y, w, clockStripHeight);
    m_logo->move(w - logoBoxSize.width(), 0);
    m_clock->move(clockBoxLeft, y - 1);
    y += clockStripHeight;
    m_article->setGeometry(0, y, w, articleHeight);
    fitNumber();
    fitArticle();
}

void TFAfficher_Numero::fitNumber()
{
    const QString text = m_number->text();
    const QSize area = m_number->size();
    const double grow = std::max(
        1.0,
        std::min(double(width()) / referenceScreen.width(), double(height()) / referenceScreen.height()));
    int pixelSize = int(numberPixelSize * grow);
    if (!text.isEmpty() && !area.isEmpty()) {
        // Shrink only as far as needed for the whole number to fit its area.
        QFont f = m_number->font();
        f.setPixelSize(pixelSize);
        const QFontMetricsF metrics(f);
        const double fit = std::min(
            { 1.0, area.height() / metrics.height(), area.width() * 0.96 / metrics.horizontalAdvance(text) });
        pixelSize = std::max(8, int(std::floor(pixelSize * fit)));
    }
    if (m_number->font().pixelSize() != pixelSize) {
        QFont f = m_number->font();
        f.setPixelSize(pixelSize);
        m_number->setFont(f);
    }
}

void TFAfficher_Numero::fitArticle()
{
    // An article too long for the line loses its end, replaced by an ellipsis
    // at a letter boundary; an Arabic article reads from the right, so its
    // ellipsis stands at the left.
    m_article->setLayoutDirection(m_articleText.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    const int room = std::max(0, m_article->width() - 2 * 16);
    m_article->setText(QFontMetrics(m_article->font()).elidedText(m_articleText, Qt::ElideRight, room));
}
