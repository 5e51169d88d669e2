#include "forms/StatusBar.h"

#include <QLabel>

StatusBar::StatusBar(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

int StatusBar::addPanel(const QString &text, int width)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("panel%1").arg(m_panels.size()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setContentsMargins(2, 0, 2, 0);
    m_panels.append(label);
    m_widths.append(width);
    layoutPanels();
    return int(m_panels.size()) - 1;
}

QLabel *StatusBar::panel(int index) const
{
    return m_panels.at(index);
}

void StatusBar::setPanelText(int index, const QString &text)
{
    m_panels.at(index)->setText(text);
}

QString StatusBar::panelText(int index) const
{
    return m_panels.at(index)->text();
}

void StatusBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPanels();
}

void StatusBar::layoutPanels()
{
    int left = 0;
    for (qsizetype i = 0; i < m_panels.size(); ++i) {
        const int width = m_widths.at(i) > 0 ? m_widths.at(i) : qMax(0, this->width() - left);
        m_panels.at(i)->setGeometry(left, 0, width, height());
        left += width;
    }
}
