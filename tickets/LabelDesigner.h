#pragma once

#include "tickets/LabelDataset.h"
#include "tickets/LabelDesignDocument.h"

#include <QDialog>
#include <QMessageBox>
#include <functional>

class LabelDesignCanvas;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QToolButton;
class QPushButton;

/// The label designer: a modal window on a layout, with the page drawn on
/// the left, the selected objects' properties and the page's on the right,
/// and a live preview of the label as it prints with a line of the ticket
/// dataset. Saving writes back to the file the layout came from (asking for a
/// name when there is none).
class LabelDesigner : public QDialog
{
    Q_OBJECT

public:
    LabelDesigner(const LabelReport &report, const QString &fileName, const LabelDataset &preview,
                  QWidget *parent = nullptr);
    ~LabelDesigner() override;

    LabelDesignDocument &document() { return m_document; }
    LabelDesignCanvas *canvas() const { return m_canvas; }
    /// The line the preview shows.
    const LabelDataset &previewData() const { return m_previewData; }

    /// Saves; asks for a file name first when the layout has none. Returns
    /// whether it was saved (an error is shown in the error box).
    bool save();
    bool saveAs();

    /// Asks for a file name (the file dialog by default; tests answer
    /// themselves). An empty answer cancels.
    void setFileNameChooser(std::function<QString()> chooser) { m_chooseFileName = std::move(chooser); }
    /// Asks, on closing with unsaved changes, whether to save (Save, Discard or Cancel).
    void setCloseQuestion(std::function<QMessageBox::StandardButton()> question)
    {
        m_askOnClose = std::move(question);
    }

    /// The preview as last drawn (null when the layout cannot be printed; the
    /// reason is then shown instead).
    QImage previewImage() const { return m_previewImage; }

public slots:
    void reject() override;

private:
    void buildWindow();
    QWidget *buildProperties();
    void updateTitle();
    void refresh();
    void refreshPreview();
    void insertField(const QString &field);
    void addText();
    void deleteSelection();
    QList<LabelElementRef> selectedObjects() const;

    // Edits from the property widgets.
    void applyText();
    void applyFont();
    void applyAlignment();
    void applyFrame();
    void applyFill(bool choose);
    void applyGeometry();
    void applyPage();
    void applyBandHeight();

    LabelDesignDocument m_document;
    LabelDataset m_previewData;
    LabelDesignCanvas *m_canvas = nullptr;
    std::function<QString()> m_chooseFileName;
    std::function<QMessageBox::StandardButton()> m_askOnClose;
    QImage m_previewImage;
    bool m_refreshing = false;

    QPlainTextEdit *m_text = nullptr;
    QListWidget *m_fields = nullptr;
    QFontComboBox *m_fontFamily = nullptr;
    QSpinBox *m_fontHeight = nullptr;
    QToolButton *m_bold = nullptr;
    QToolButton *m_italic = nullptr;
    QToolButton *m_underline = nullptr;
    QToolButton *m_strikeOut = nullptr;
    QPushButton *m_fontColor = nullptr;
    QComboBox *m_hAlign = nullptr;
    QComboBox *m_vAlign = nullptr;
    QCheckBox *m_wordWrap = nullptr;
    QCheckBox *m_frameSides[4] = {};
    QDoubleSpinBox *m_frameWidth = nullptr;
    QPushButton *m_fill = nullptr;
    QCheckBox *m_noFill = nullptr;
    QDoubleSpinBox *m_geometry[4] = {};
    QComboBox *m_pageSelector = nullptr;
    QDoubleSpinBox *m_paper[2] = {};
    QDoubleSpinBox *m_margins[4] = {};
    QCheckBox *m_landscape = nullptr;
    QDoubleSpinBox *m_bandHeight = nullptr;
    QLabel *m_bandName = nullptr;
    QLabel *m_preview = nullptr;
    QLabel *m_previewMessage = nullptr;
    QWidget *m_objectGroups = nullptr;
    QWidget *m_textGroup = nullptr;
};
