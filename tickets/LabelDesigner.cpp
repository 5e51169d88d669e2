#include "tickets/LabelDesigner.h"

#include "app/StationError.h"
#include "forms/ErrorBox.h"
#include "tickets/LabelDesignCanvas.h"
#include "tickets/LabelRenderer.h"
#include "tickets/LabelText.h"
#include "tickets/TicketReport.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr double mmPerPixel = 25.4 / 96;

QDoubleSpinBox *millimetres(const QString &name, double maximum, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(2);
    box->setRange(0, maximum);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    box->setKeyboardTracking(false);
    return box;
}

void setColorButton(QPushButton *button, qint64 value)
{
    const QColor color = LabelColor::toQColor(value);
    QPixmap swatch(16, 16);
    swatch.fill(color.isValid() ? color : QColor(Qt::transparent));
    button->setIcon(QIcon(swatch));
}
} // namespace

LabelDesigner::LabelDesigner(const LabelReport &report, const QString &fileName, const LabelDataset &preview,
                             QWidget *parent)
    : QDialog(parent)
    , m_document(report, fileName)
    , m_previewData(preview)
{
    setModal(true);
    setObjectName(QStringLiteral("LabelDesigner"));
    // The designer reads left to right whatever the station's language.
    setLayoutDirection(Qt::LeftToRight);
    m_chooseFileName = [this] {
        QString path = QFileDialog::getSaveFileName(this, tr("Enregistrer l'étiquette"),
                                                    TicketReport::layoutFileName(), tr("Étiquettes (*.fr3)"));
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".fr3");
        return path;
    };
    m_askOnClose = [this] {
        return QMessageBox::question(
            this, windowTitle(), tr("Enregistrer les modifications de l'étiquette ?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    };
    buildWindow();
    connect(&m_document, &LabelDesignDocument::changed, this, &LabelDesigner::refresh);
    connect(m_document.undoStack(), &QUndoStack::cleanChanged, this, &LabelDesigner::updateTitle);
    connect(m_canvas, &LabelDesignCanvas::selectionChanged, this, &LabelDesigner::refresh);
    connect(m_canvas, &LabelDesignCanvas::editTextRequested, this, [this] { m_text->setFocus(); });
    refresh();
    updateTitle();
    resize(1180, 760);
}

LabelDesigner::~LabelDesigner() = default;

void LabelDesigner::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *toolBar = new QToolBar(this);
    layout->addWidget(toolBar);

    const auto addAction = [&](const QString &name, const QString &text, const QKeySequence &key, auto slot) {
        QAction *action = toolBar->addAction(text);
        action->setObjectName(name);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addAction(QStringLiteral("addText"), tr("Nouveau texte"), QKeySequence(Qt::CTRL | Qt::Key_T),
              &LabelDesigner::addText);
    addAction(QStringLiteral("deleteObjects"), tr("Supprimer"), QKeySequence(),
              &LabelDesigner::deleteSelection);
    toolBar->addSeparator();
    QAction *undo = m_document.undoStack()->createUndoAction(this, tr("Annuler"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_document.undoStack()->createRedoAction(this, tr("Rétablir"));
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcut(QKeySequence::Redo);
    toolBar->addAction(undo);
    toolBar->addAction(redo);
    toolBar->addSeparator();
    addAction(QStringLiteral("save"), tr("Enregistrer"), QKeySequence::Save, &LabelDesigner::save);
    addAction(QStringLiteral("saveAs"), tr("Enregistrer sous..."), QKeySequence::SaveAs,
              &LabelDesigner::saveAs);
    toolBar->addSeparator();
    auto *zoom = new QComboBox(toolBar);
    zoom->setObjectName(QStringLiteral("zoom"));
    for (const int percent : { 50, 100, 200, 300, 400, 600, 800 })
        zoom->addItem(QStringLiteral("%1 %").arg(percent), percent / 100.0);
    toolBar->addWidget(zoom);
    toolBar->addSeparator();
    addAction(QStringLiteral("close"), tr("Fermer"), QKeySequence(), &LabelDesigner::reject);

    auto *body = new QHBoxLayout;
    layout->addLayout(body, 1);
    auto *left = new QVBoxLayout;
    body->addLayout(left, 1);

    m_canvas = new LabelDesignCanvas(&m_document, this);
    m_canvas->setObjectName(QStringLiteral("canvas"));
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_canvas);
    scroll->setWidgetResizable(false);
    scroll->setBackgroundRole(QPalette::Dark);
    left->addWidget(scroll, 1);
    m_canvas->resize(m_canvas->sizeHint());
    // The zoom the canvas chose for the page, or the nearest one offered.
    int nearest = 0;
    for (int i = 0; i < zoom->count(); ++i) {
        if (qAbs(zoom->itemData(i).toDouble() - m_canvas->zoom())
            < qAbs(zoom->itemData(nearest).toDouble() - m_canvas->zoom()))
            nearest = i;
    }
    zoom->setCurrentIndex(nearest);
    m_canvas->setZoom(zoom->itemData(nearest).toDouble());
    connect(zoom, &QComboBox::activated, this,
            [this, zoom](int index) { m_canvas->setZoom(zoom->itemData(index).toDouble()); });

    auto *previewBox = new QGroupBox(tr("Aperçu"), this);
    auto *previewLayout = new QHBoxLayout(previewBox);
    m_preview = new QLabel(previewBox);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFrameShape(QFrame::Box);
    m_previewMessage = new QLabel(previewBox);
    m_previewMessage->setObjectName(QStringLiteral("previewMessage"));
    m_previewMessage->setWordWrap(true);
    previewLayout->addWidget(m_preview);
    previewLayout->addWidget(m_previewMessage, 1);
    left->addWidget(previewBox);

    auto *propertiesScroll = new QScrollArea(this);
    propertiesScroll->setWidget(buildProperties());
    propertiesScroll->setWidgetResizable(true);
    propertiesScroll->setMinimumWidth(360);
    body->addWidget(propertiesScroll);
}

QWidget *LabelDesigner::buildProperties()
{
    auto *panel = new QWidget;
    auto *layout = new QVBoxLayout(panel);

    m_objectGroups = new QWidget(panel);
    auto *objectLayout = new QVBoxLayout(m_objectGroups);
    objectLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_objectGroups);

    // Text, with the fields of the ticket dataset to insert.
    auto *textBox = new QGroupBox(tr("Texte"), m_objectGroups);
    m_textGroup = textBox;
    auto *textLayout = new QVBoxLayout(textBox);
    m_text = new QPlainTextEdit(textBox);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setUndoRedoEnabled(false); // the designer's own undo covers it
    m_text->setMaximumHeight(80);
    textLayout->addWidget(m_text);
    m_fields = new QListWidget(textBox);
    m_fields->setObjectName(QStringLiteral("fields"));
    m_fields->addItems(m_previewData.fieldNames().isEmpty() ? TicketReport::fieldNames()
                                                            : m_previewData.fieldNames());
    m_fields->setMaximumHeight(110);
    textLayout->addWidget(new QLabel(tr("Champs de \"%1\" :").arg(TicketReport::datasetName()), textBox));
    textLayout->addWidget(m_fields);
    auto *insert = new QPushButton(tr("Insérer le champ"), textBox);
    insert->setObjectName(QStringLiteral("insertField"));
    textLayout->addWidget(insert);
    connect(m_text, &QPlainTextEdit::textChanged, this, &LabelDesigner::applyText);
    connect(m_fields, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { insertField(item->text()); });
    connect(insert, &QPushButton::clicked, this, [this] {
        if (m_fields->currentItem())
            insertField(m_fields->currentItem()->text());
    });
    objectLayout->addWidget(textBox);

    // Font.
    auto *fontBox = new QGroupBox(tr("Police"), m_objectGroups);
    auto *fontLayout = new QFormLayout(fontBox);
    m_fontFamily = new QFontComboBox(fontBox);
    m_fontFamily->setObjectName(QStringLiteral("fontFamily"));
    fontLayout->addRow(tr("Nom"), m_fontFamily);
    m_fontHeight = new QSpinBox(fontBox);
    m_fontHeight->setObjectName(QStringLiteral("fontHeight"));
    m_fontHeight->setRange(1, 999);
    m_fontHeight->setSuffix(QStringLiteral(" px"));
    m_fontHeight->setKeyboardTracking(false);
    fontLayout->addRow(tr("Hauteur"), m_fontHeight);
    auto *styles = new QHBoxLayout;
    const auto styleButton = [&](const QString &name, const QString &text, QFont::Weight weight, bool italic,
                                 bool underline, bool strike) {
        auto *button = new QToolButton(fontBox);
        button->setObjectName(name);
        button->setText(text);
        button->setCheckable(true);
        QFont font = button->font();
        font.setWeight(weight);
        font.setItalic(italic);
        font.setUnderline(underline);
        font.setStrikeOut(strike);
        button->setFont(font);
        styles->addWidget(button);
        connect(button, &QToolButton::toggled, this, &LabelDesigner::applyFont);
        return button;
    };
    m_bold = styleButton(QStringLiteral("bold"), tr("G"), QFont::Bold, false, false, false);
    m_italic = styleButton(QStringLiteral("italic"), tr("I"), QFont::Normal, true, false, false);
    m_underline = styleButton(QStringLiteral("underline"), tr("S"), QFont::Normal, false, true, false);
    m_strikeOut = styleButton(QStringLiteral("strikeOut"), tr("B"), QFont::Normal, false, false, true);
    m_fontColor = new QPushButton(tr("Couleur..."), fontBox);
    m_fontColor->setObjectName(QStringLiteral("fontColor"));
    styles->addWidget(m_fontColor);
    styles->addStretch();
    fontLayout->addRow(tr("Style"), styles);
    connect(m_fontFamily, &QFontComboBox::currentFontChanged, this, &LabelDesigner::applyFont);
    connect(m_fontHeight, &QSpinBox::valueChanged, this, &LabelDesigner::applyFont);
    connect(m_fontColor, &QPushButton::clicked, this, [this] {
        const QList<LabelElementRef> selection = selectedObjects();
        if (selection.isEmpty())
            return;
        LabelFont font
            = m_document.object(selection.first()).font(m_document.band(selection.first()).attributes());
        const QColor color
            = QColorDialog::getColor(LabelColor::toQColor(font.color), this, tr("Couleur du texte"));
        if (!color.isValid())
            return;
        font.color = LabelColor::fromQColor(color);
        m_document.setFont(selection, font);
    });
    objectLayout->addWidget(fontBox);

    // Alignment.
    auto *alignBox = new QGroupBox(tr("Alignement"), m_objectGroups);
    auto *alignLayout = new QFormLayout(alignBox);
    m_hAlign = new QComboBox(alignBox);
    m_hAlign->setObjectName(QStringLiteral("hAlign"));
    m_hAlign->addItems({ tr("À gauche"), tr("Centré"), tr("À droite"), tr("Justifié") });
    m_vAlign = new QComboBox(alignBox);
    m_vAlign->setObjectName(QStringLiteral("vAlign"));
    m_vAlign->addItems({ tr("En haut"), tr("Au milieu"), tr("En bas") });
    m_wordWrap = new QCheckBox(tr("Retour à la ligne"), alignBox);
    m_wordWrap->setObjectName(QStringLiteral("wordWrap"));
    alignLayout->addRow(tr("Horizontal"), m_hAlign);
    alignLayout->addRow(tr("Vertical"), m_vAlign);
    alignLayout->addRow(m_wordWrap);
    connect(m_hAlign, &QComboBox::currentIndexChanged, this, &LabelDesigner::applyAlignment);
    connect(m_vAlign, &QComboBox::currentIndexChanged, this, &LabelDesigner::applyAlignment);
    connect(m_wordWrap, &QCheckBox::toggled, this, &LabelDesigner::applyAlignment);
    objectLayout->addWidget(alignBox);

    // Frame and fill.
    auto *frameBox = new QGroupBox(tr("Cadre et fond"), m_objectGroups);
    auto *frameLayout = new QFormLayout(frameBox);
    auto *sides = new QHBoxLayout;
    const QString sideNames[] = { tr("Gauche"), tr("Droite"), tr("Haut"), tr("Bas") };
    const QString sideObjects[] = { QStringLiteral("frameLeft"), QStringLiteral("frameRight"),
                                    QStringLiteral("frameTop"), QStringLiteral("frameBottom") };
    for (int i = 0; i < 4; ++i) {
        m_frameSides[i] = new QCheckBox(sideNames[i], frameBox);
        m_frameSides[i]->setObjectName(sideObjects[i]);
        sides->addWidget(m_frameSides[i]);
        connect(m_frameSides[i], &QCheckBox::toggled, this, &LabelDesigner::applyFrame);
    }
    frameLayout->addRow(tr("Côtés"), sides);
    m_frameWidth = new QDoubleSpinBox(frameBox);
    m_frameWidth->setObjectName(QStringLiteral("frameWidth"));
    m_frameWidth->setRange(0.1, 20);
    m_frameWidth->setSingleStep(0.5);
    m_frameWidth->setSuffix(QStringLiteral(" px"));
    m_frameWidth->setKeyboardTracking(false);
    frameLayout->addRow(tr("Épaisseur"), m_frameWidth);
    connect(m_frameWidth, &QDoubleSpinBox::valueChanged, this, &LabelDesigner::applyFrame);
    auto *fill = new QHBoxLayout;
    m_fill = new QPushButton(tr("Couleur..."), frameBox);
    m_fill->setObjectName(QStringLiteral("fill"));
    m_noFill = new QCheckBox(tr("Sans fond"), frameBox);
    m_noFill->setObjectName(QStringLiteral("noFill"));
    fill->addWidget(m_fill);
    fill->addWidget(m_noFill);
    frameLayout->addRow(tr("Fond"), fill);
    connect(m_fill, &QPushButton::clicked, this, [this] { applyFill(true); });
    connect(m_noFill, &QCheckBox::toggled, this, [this] { applyFill(false); });
    objectLayout->addWidget(frameBox);

    // Position and size.
    auto *geometryBox = new QGroupBox(tr("Position et taille"), m_objectGroups);
    auto *geometryLayout = new QFormLayout(geometryBox);
    const QString geometryNames[] = { tr("Gauche"), tr("Haut"), tr("Largeur"), tr("Hauteur") };
    const QString geometryObjects[] = { QStringLiteral("left"), QStringLiteral("top"),
                                        QStringLiteral("width"), QStringLiteral("height") };
    for (int i = 0; i < 4; ++i) {
        m_geometry[i] = millimetres(geometryObjects[i], 2000, geometryBox);
        if (i < 2)
            m_geometry[i]->setMinimum(-2000);
        geometryLayout->addRow(geometryNames[i], m_geometry[i]);
        connect(m_geometry[i], &QDoubleSpinBox::valueChanged, this, &LabelDesigner::applyGeometry);
    }
    objectLayout->addWidget(geometryBox);

    // The page and the current band.
    auto *pageBox = new QGroupBox(tr("Page"), panel);
    auto *pageLayout = new QFormLayout(pageBox);
    m_pageSelector = new QComboBox(pageBox);
    m_pageSelector->setObjectName(QStringLiteral("page"));
    for (const LabelPage &page : m_document.report().pages().items())
        m_pageSelector->addItem(page.name());
    if (m_pageSelector->count() > 1)
        pageLayout->addRow(tr("Page"), m_pageSelector);
    else
        m_pageSelector->hide();
    connect(m_pageSelector, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_canvas->setPageIndex(index);
        refresh();
    });
    m_paper[0] = millimetres(QStringLiteral("paperWidth"), 2000, pageBox);
    m_paper[1] = millimetres(QStringLiteral("paperHeight"), 2000, pageBox);
    m_paper[0]->setMinimum(1);
    m_paper[1]->setMinimum(1);
    pageLayout->addRow(tr("Largeur"), m_paper[0]);
    pageLayout->addRow(tr("Hauteur"), m_paper[1]);
    const QString marginNames[]
        = { tr("Marge gauche"), tr("Marge haute"), tr("Marge droite"), tr("Marge basse") };
    const QString marginObjects[] = { QStringLiteral("marginLeft"), QStringLiteral("marginTop"),
                                      QStringLiteral("marginRight"), QStringLiteral("marginBottom") };
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = millimetres(marginObjects[i], 1000, pageBox);
        pageLayout->addRow(marginNames[i], m_margins[i]);
        connect(m_margins[i], &QDoubleSpinBox::valueChanged, this, &LabelDesigner::applyPage);
    }
    m_landscape = new QCheckBox(tr("Paysage"), pageBox);
    m_landscape->setObjectName(QStringLiteral("landscape"));
    pageLayout->addRow(m_landscape);
    connect(m_paper[0], &QDoubleSpinBox::valueChanged, this, &LabelDesigner::applyPage);
    connect(m_paper[1], &QDoubleSpinBox::valueChanged, this, &LabelDesigner::applyPage);
    connect(m_landscape, &QCheckBox::toggled, this, &LabelDesigner::applyPage);
    m_bandName = new QLabel(pageBox);
    m_bandHeight = millimetres(QStringLiteral("bandHeight"), 2000, pageBox);
    pageLayout->addRow(m_bandName, m_bandHeight);
    connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this, &LabelDesigner::applyBandHeight);
    layout->addWidget(pageBox);
    layout->addStretch();
    return panel;
}

void LabelDesigner::updateTitle()
{
    const QString file
        = m_document.fileName().isEmpty() ? tr("sans nom") : QDir::toNativeSeparators(m_document.fileName());
    setWindowTitle(tr("Modifier le Ticket - %1%2")
                       .arg(file, m_document.isModified() ? QStringLiteral(" *") : QString()));
}

QList<LabelElementRef> LabelDesigner::selectedObjects() const
{
    return m_canvas->selection();
}

void LabelDesigner::refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    const QList<LabelElementRef> selection = selectedObjects();
    const bool hasObject = !selection.isEmpty();
    m_objectGroups->setEnabled(hasObject);
    const bool oneMemo
        = selection.size() == 1 && m_document.object(selection.first()).kind() == LabelObject::Kind::Memo;
    m_textGroup->setEnabled(oneMemo);

    // While the widgets are set from the model, their change signals make no edits (m_refreshing).

    if (hasObject) {
        const LabelElementRef first = selection.first();
        const LabelObject &object = m_document.object(first);
        if (!oneMemo)
            m_text->clear();
        else if (m_text->toPlainText() != object.text())
            m_text->setPlainText(object.text());
        const LabelFont font = object.font(m_document.band(first).attributes());
        m_fontFamily->setCurrentFont(QFont(LabelFont::substituteFamily(font.name)));
        m_fontFamily->setEditText(font.name);
        m_fontHeight->setValue(qRound(font.characterHeight()));
        m_bold->setChecked(font.style & LabelFont::Bold);
        m_italic->setChecked(font.style & LabelFont::Italic);
        m_underline->setChecked(font.style & LabelFont::Underline);
        m_strikeOut->setChecked(font.style & LabelFont::StrikeOut);
        setColorButton(m_fontColor, font.color);
        m_hAlign->setCurrentIndex(int(object.hAlign()));
        m_vAlign->setCurrentIndex(int(object.vAlign()));
        m_wordWrap->setChecked(object.wordWrap());
        const LabelFrame frame = object.frame();
        const int bits[] = { LabelFrame::Left, LabelFrame::Right, LabelFrame::Top, LabelFrame::Bottom };
        for (int i = 0; i < 4; ++i)
            m_frameSides[i]->setChecked(frame.sides & bits[i]);
        m_frameWidth->setValue(frame.width);
        setColorButton(m_fill, object.fillColor());
        m_noFill->setChecked(!LabelColor::toQColor(object.fillColor()).isValid());
        const QRectF geometry = object.geometry();
        const double values[] = { geometry.left(), geometry.top(), geometry.width(), geometry.height() };
        for (int i = 0; i < 4; ++i)
            m_geometry[i]->setValue(values[i] * mmPerPixel);
    }

    const LabelPage &page = m_document.page(m_canvas->pageIndex());
    m_paper[0]->setValue(page.paperSize().width());
    m_paper[1]->setValue(page.paperSize().height());
    const QMarginsF margins = page.margins();
    const double marginValues[] = { margins.left(), margins.top(), margins.right(), margins.bottom() };
    for (int i = 0; i < 4; ++i)
        m_margins[i]->setValue(marginValues[i]);
    m_landscape->setChecked(page.isLandscape());
    const int band = m_canvas->currentBand();
    m_bandHeight->setEnabled(band >= 0);
    if (band >= 0) {
        const LabelBand &current = page.bands().at(band);
        m_bandName->setText(tr("Hauteur de %1").arg(current.name()));
        m_bandHeight->setValue(current.height() * mmPerPixel);
    } else {
        m_bandName->setText(tr("Hauteur de la bande"));
    }
    m_refreshing = false;
    refreshPreview();
}

void LabelDesigner::refreshPreview()
{
    // The label as it prints, with the first line of the ticket dataset.
    try {
        const PreparedLabel label = LabelRenderer::prepare(m_document.report(), { m_previewData });
        if (label.isEmpty()) {
            m_previewImage = QImage();
            m_preview->clear();
            m_previewMessage->setText(tr("Rien à imprimer."));
            return;
        }
        const qreal ratio = devicePixelRatioF();
        // Three screen pixels per pixel of the layout, but never wider than the window can show.
        const double scale
            = qMin(3.0, 520.0 / (label.pages.first().paperSize.width() * LabelRenderer::pixelsPerMm));
        m_previewImage = LabelRenderer::renderImage(label.pages.first(), 96 * scale * ratio);
        QPixmap pixmap = QPixmap::fromImage(m_previewImage);
        pixmap.setDevicePixelRatio(ratio);
        m_preview->setPixmap(pixmap);
        m_previewMessage->setText(label.pages.size() > 1 ? tr("Page 1 sur %1.").arg(label.pages.size())
                                                         : QString());
    } catch (const StationError &error) {
        m_previewImage = QImage();
        m_preview->clear();
        m_previewMessage->setText(error.message());
    }
}

void LabelDesigner::insertField(const QString &field)
{
    if (!m_textGroup->isEnabled())
        return;
    m_text->insertPlainText(LabelText::fieldExpression(TicketReport::datasetName(), field));
    m_text->setFocus();
}

void LabelDesigner::addText()
{
    const int page = m_canvas->pageIndex();
    const int band = m_canvas->currentBand();
    // The designer's new text: 25 x 5 mm at the band's corner, narrower when the band is.
    const LabelPage &current = m_document.page(page);
    const double printable
        = (current.paperSize().width() - current.margins().left() - current.margins().right()) / mmPerPixel;
    const QRectF geometry(0, 0, std::round(qMin(94.48819, printable) * 1e5) / 1e5, 18.89765);
    const LabelElementRef added = m_document.addText(page, band, geometry);
    m_canvas->setSelection({ added });
    m_text->setFocus();
}

void LabelDesigner::deleteSelection()
{
    const QList<LabelElementRef> selection = selectedObjects();
    m_canvas->setSelection({});
    m_document.deleteObjects(selection);
}

void LabelDesigner::applyText()
{
    const QList<LabelElementRef> selection = selectedObjects();
    if (m_refreshing || selection.size() != 1)
        return;
    m_document.setText(selection.first(), m_text->toPlainText());
}

void LabelDesigner::applyFont()
{
    const QList<LabelElementRef> selection = selectedObjects();
    if (m_refreshing || selection.isEmpty())
        return;
    LabelFont font
        = m_document.object(selection.first()).font(m_document.band(selection.first()).attributes());
    // The family as the layout names it stays unless another was picked.
    if (m_fontFamily->currentFont().family() != LabelFont::substituteFamily(font.name))
        font.name = m_fontFamily->currentFont().family();
    font.height = -m_fontHeight->value();
    font.style = (m_bold->isChecked() ? LabelFont::Bold : 0) | (m_italic->isChecked() ? LabelFont::Italic : 0)
        | (m_underline->isChecked() ? LabelFont::Underline : 0)
        | (m_strikeOut->isChecked() ? LabelFont::StrikeOut : 0);
    m_document.setFont(selection, font);
}

void LabelDesigner::applyAlignment()
{
    if (m_refreshing)
        return;
    m_document.setAlignment(selectedObjects(), LabelObject::HAlign(m_hAlign->currentIndex()),
                            LabelObject::VAlign(m_vAlign->currentIndex()), m_wordWrap->isChecked());
}

void LabelDesigner::applyFrame()
{
    const QList<LabelElementRef> selection = selectedObjects();
    if (m_refreshing || selection.isEmpty())
        return;
    LabelFrame frame = m_document.object(selection.first()).frame();
    const int bits[] = { LabelFrame::Left, LabelFrame::Right, LabelFrame::Top, LabelFrame::Bottom };
    frame.sides = 0;
    for (int i = 0; i < 4; ++i)
        frame.sides |= m_frameSides[i]->isChecked() ? bits[i] : 0;
    frame.width = m_frameWidth->value();
    m_document.setFrame(selection, frame);
}

void LabelDesigner::applyFill(bool choose)
{
    const QList<LabelElementRef> selection = selectedObjects();
    if (m_refreshing || selection.isEmpty())
        return;
    if (!choose) {
        if (m_noFill->isChecked())
            m_document.setFillColor(selection, LabelColor::None);
        else
            m_document.setFillColor(selection, LabelColor::fromQColor(Qt::white));
        return;
    }
    const QColor color = QColorDialog::getColor(
        LabelColor::toQColor(m_document.object(selection.first()).fillColor()), this, tr("Couleur du fond"));
    if (color.isValid())
        m_document.setFillColor(selection, LabelColor::fromQColor(color));
}

void LabelDesigner::applyGeometry()
{
    const QList<LabelElementRef> selection = selectedObjects();
    if (m_refreshing || selection.size() != 1)
        return;
    const QRectF geometry(m_geometry[0]->value() / mmPerPixel, m_geometry[1]->value() / mmPerPixel,
                          m_geometry[2]->value() / mmPerPixel, m_geometry[3]->value() / mmPerPixel);
    m_document.setGeometry(selection, { geometry });
}

void LabelDesigner::applyPage()
{
    if (m_refreshing)
        return;
    const QSizeF paper(m_paper[0]->value(), m_paper[1]->value());
    const QMarginsF margins(m_margins[0]->value(), m_margins[1]->value(), m_margins[2]->value(),
                            m_margins[3]->value());
    if (margins.left() + margins.right() >= paper.width()
        || margins.top() + margins.bottom() >= paper.height()) {
        refresh(); // margins that leave no paper are not taken
        return;
    }
    m_document.setPage(m_canvas->pageIndex(), paper, margins, m_landscape->isChecked());
}

void LabelDesigner::applyBandHeight()
{
    const int band = m_canvas->currentBand();
    if (m_refreshing || band < 0)
        return;
    m_document.setBandHeight({ m_canvas->pageIndex(), band, -1 }, m_bandHeight->value() / mmPerPixel);
}

bool LabelDesigner::save()
{
    if (m_document.fileName().isEmpty())
        return saveAs();
    return ErrorBox::guard([this] { m_document.save(); }, this);
}

bool LabelDesigner::saveAs()
{
    const QString path = m_chooseFileName();
    if (path.isEmpty())
        return false;
    const bool saved = ErrorBox::guard([&] { m_document.saveAs(path); }, this);
    updateTitle();
    return saved;
}

void LabelDesigner::reject()
{
    if (m_document.isModified()) {
        switch (m_askOnClose()) {
        case QMessageBox::Save:
            if (!save())
                return;
            break;
        case QMessageBox::Discard:
            break;
        default:
            return;
        }
    }
    QDialog::reject();
}
