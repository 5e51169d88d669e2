#pragma once

#include <QList>
#include <QWidget>

class QLabel;

/// A status bar of text panels of fixed width, left to right, reached by index.
class StatusBar : public QWidget
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget *parent = nullptr);

    /// Appends a panel; width 0 takes what is left of the bar. Returns its index.
    int addPanel(const QString &text, int width);
    int panelCount() const { return int(m_panels.size()); }
    QLabel *panel(int index) const;
    int panelWidth(int index) const { return m_widths.at(index); }

    void setPanelText(int index, const QString &text);
    QString panelText(int index) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPanels();

    QList<QLabel *> m_panels;
    QList<int> m_widths;
};
