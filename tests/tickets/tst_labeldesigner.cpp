// The designer window: mouse and keys on the canvas, the property panel,
// saving, and the modal design command.

#include "TicketTestSupport.h"
#include "forms/ErrorBox.h"
#include "tickets/LabelDesignCanvas.h"
#include "tickets/LabelDesigner.h"
#include "tickets/LabelLayoutFile.h"
#include "tickets/LabelRenderer.h"
#include "tickets/TicketPrinting.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace TicketTestSupport;

namespace {
const LabelElementRef number { 0, 0, 0 };
const LabelElementRef article { 0, 0, 1 };

QPoint centre(const LabelDesigner &designer, const LabelElementRef &ref)
{
    return designer.canvas()->widgetRect(ref).center().toPoint();
}
} // namespace

class TestLabelDesigner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lookAtIt();
    void dragMovesAndUndoes();
    void handleResizes();
    void keys_data();
    void keys();
    void clickSelects();
    void textAndFields();
    void fontAndPagePanels();
    void addText();
    void saveAsksForANameWhenThereIsNone();
    void closingWithChanges_data();
    void closingWithChanges();
    void modifierTicketOpensTheFileModally();

private:
    std::unique_ptr<LabelDesigner> makeDesigner(const QString &fileName = {});
    QTemporaryDir m_dir;
    QStringList m_errors;
};

void TestLabelDesigner::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ErrorBox::setPresenter([this](const QString &message) { m_errors.append(message); });
}

void TestLabelDesigner::init()
{
    m_errors.clear();
    QVERIFY(m_dir.isValid());
    QDir::setCurrent(m_dir.path());
}

void TestLabelDesigner::cleanup()
{
    QCOMPARE(m_errors, QStringList());
}

std::unique_ptr<LabelDesigner> TestLabelDesigner::makeDesigner(const QString &fileName)
{
    auto designer
        = std::make_unique<LabelDesigner>(LabelReport::builtIn(), fileName, TicketReport::sampleDataset());
    designer->setFileNameChooser([] {
        QTest::qFail("asked for a file name", __FILE__, __LINE__);
        return QString();
    });
    designer->setCloseQuestion([] { return QMessageBox::Discard; });
    designer->show();
    if (!QTest::qWaitForWindowExposed(designer.get()))
        return {};
    return designer;
}

void TestLabelDesigner::lookAtIt()
{
    // The window as the cook sees it: the label drawn large with its article
    // selected, the panels, and the preview with a sample line.
    auto designer = makeDesigner(TicketReport::layoutFileName());
    QVERIFY(designer);
    designer->canvas()->setSelection({ article });
    const QImage preview = designer->previewImage();
    QVERIFY(!preview.isNull());
    QCOMPARE(preview.size(),
             QSize(qRound(40 / 25.4 * 288), qRound(20 / 25.4 * 288)) * designer->devicePixelRatio());
    // Left to right even when the station reads right to left.
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    LabelDesigner mirrored(LabelReport::builtIn(), QString(), TicketReport::sampleDataset());
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    QCOMPARE(mirrored.layoutDirection(), Qt::LeftToRight);

    const QImage window = designer->grab().toImage();
    QVERIFY(!window.isNull());
    keepScreenshot(QStringLiteral("designer.png"), window);
}

void TestLabelDesigner::dragMovesAndUndoes()
{
    auto designer = makeDesigner();
    QVERIFY(designer);
    LabelDesignCanvas *canvas = designer->canvas();
    const QRectF start = designer->document().object(article).geometry();
    const QPoint from = centre(*designer, article);

    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QCOMPARE(canvas->selection(), QList<LabelElementRef>({ article }));
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(canvas, from + QPoint(10 * step, 5 * step));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(40, 20));

    const QRectF moved = designer->document().object(article).geometry();
    QCOMPARE(moved.size(), start.size());
    QVERIFY(qAbs(moved.left() - (start.left() + 40 / canvas->zoom())) < 0.01);
    QVERIFY(qAbs(moved.top() - (start.top() + 20 / canvas->zoom())) < 0.01);
    QCOMPARE(designer->document().undoStack()->count(), 1); // the whole drag is one step
    designer->findChild<QAction *>(QStringLiteral("undo"))->trigger();
    QCOMPARE(designer->document().object(article).geometry(), start);
    designer->findChild<QAction *>(QStringLiteral("redo"))->trigger();
    QCOMPARE(designer->document().object(article).geometry(), moved);
}

void TestLabelDesigner::handleResizes()
{
    auto designer = makeDesigner();
    QVERIFY(designer);
    LabelDesignCanvas *canvas = designer->canvas();
    canvas->setSelection({ number });
    const QRectF start = designer->document().object(number).geometry();
    const QRectF onScreen = canvas->widgetRect(number);
    const QPoint rightHandle(qRound(onScreen.right()), qRound(onScreen.center().y()));
    QTest::mousePress(canvas, Qt::LeftButton, {}, rightHandle);
    QTest::mouseMove(canvas, rightHandle - QPoint(30, 0));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, rightHandle - QPoint(30, 0));
    const QRectF resized = designer->document().object(number).geometry();
    QCOMPARE(resized.topLeft(), start.topLeft());
    QVERIFY(qAbs(resized.width() - (start.width() - 30 / canvas->zoom())) < 0.01);
    QCOMPARE(resized.height(), start.height());
}

void TestLabelDesigner::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QRectF>("change"); // added to the geometry, in layout pixels
    QTest::newRow("right moves a pixel") << int(Qt::Key_Right) << 0 << QRectF(1, 0, 0, 0);
    QTest::newRow("up moves a pixel") << int(Qt::Key_Up) << 0 << QRectF(0, -1, 0, 0);
    QTest::newRow("ctrl+left moves a tenth")
        << int(Qt::Key_Left) << int(Qt::ControlModifier) << QRectF(-0.1, 0, 0, 0);
    QTest::newRow("shift+right widens") << int(Qt::Key_Right) << int(Qt::ShiftModifier) << QRectF(0, 0, 1, 0);
    QTest::newRow("shift+up lowers") << int(Qt::Key_Up) << int(Qt::ShiftModifier) << QRectF(0, 0, 0, -1);
}

void TestLabelDesigner::keys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QRectF, change);

    auto designer = makeDesigner();
    QVERIFY(designer);
    designer->canvas()->setSelection({ number, article });
    designer->canvas()->setFocus();
    const QRectF numberBefore = designer->document().object(number).geometry();
    const QRectF articleBefore = designer->document().object(article).geometry();
    QTest::keyClick(designer->canvas(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const auto expect = [&](const QRectF &before) {
        return QRectF(before.x() + change.x(), before.y() + change.y(), before.width() + change.width(),
                      before.height() + change.height());
    };
    const auto near = [](const QRectF &a, const QRectF &b) {
        return qAbs(a.x() - b.x()) < 1e-4 && qAbs(a.y() - b.y()) < 1e-4 && qAbs(a.width() - b.width()) < 1e-4
            && qAbs(a.height() - b.height()) < 1e-4;
    };
    QVERIFY(near(designer->document().object(number).geometry(), expect(numberBefore)));
    QVERIFY(near(designer->document().object(article).geometry(), expect(articleBefore)));

    // Delete takes both away, undo brings them back where they were.
    QTest::keyClick(designer->canvas(), Qt::Key_Delete);
    QCOMPARE(designer->document().page(0).bands().at(0).objects().size(), 0);
    QVERIFY(designer->canvas()->selection().isEmpty());
    designer->document().undoStack()->undo();
    QCOMPARE(designer->document().page(0).bands().at(0).objects().size(), 2);
    QVERIFY(near(designer->document().object(number).geometry(), expect(numberBefore)));
}

void TestLabelDesigner::clickSelects()
{
    auto designer = makeDesigner();
    QVERIFY(designer);
    LabelDesignCanvas *canvas = designer->canvas();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, centre(*designer, number) - QPoint(0, 20));
    QCOMPARE(canvas->selection(), QList<LabelElementRef>({ number }));
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, centre(*designer, article) + QPoint(0, 5));
    QCOMPARE(canvas->selection(), QList<LabelElementRef>({ number, article }));
    // Outside every object, in the master data band: nothing selected, that band is current.
    const QRectF master = canvas->widgetRect({ 0, 1, -1 });
    QTest::mouseClick(canvas, Qt::LeftButton, {}, master.center().toPoint());
    QVERIFY(canvas->selection().isEmpty());
    QCOMPARE(canvas->currentBand(), 1);
    QCOMPARE(designer->document().undoStack()->count(), 0);
}

void TestLabelDesigner::textAndFields()
{
    auto designer = makeDesigner();
    QVERIFY(designer);
    designer->canvas()->setSelection({ number });
    auto *text = designer->findChild<QPlainTextEdit *>(QStringLiteral("text"));
    QCOMPARE(text->toPlainText(), QStringLiteral("[Ticet.\"NUM_VENTE\"]"));
    text->setFocus();
    text->moveCursor(QTextCursor::Start);
    QTest::keyClicks(text, QStringLiteral("N° "));
    QCOMPARE(designer->document().object(number).text(), QStringLiteral("N° [Ticet.\"NUM_VENTE\"]"));

    // A field from the list goes in at the cursor.
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, QStringLiteral(" x"));
    auto *fields = designer->findChild<QListWidget *>(QStringLiteral("fields"));
    QCOMPARE(fields->count(), 14);
    const QList<QListWidgetItem *> qte = fields->findItems(QStringLiteral("QTE"), Qt::MatchExactly);
    QCOMPARE(qte.size(), 1);
    fields->setCurrentItem(qte.first());
    QTest::mouseClick(designer->findChild<QPushButton *>(QStringLiteral("insertField")), Qt::LeftButton);
    QCOMPARE(designer->document().object(number).text(),
             QStringLiteral("N° [Ticet.\"NUM_VENTE\"] x[Ticet.\"QTE\"]"));
    QCOMPARE(designer->document().undoStack()->count(), 1); // typing in one object is one step

    // The preview shows it, with the sample line.
    QVERIFY(!designer->previewImage().isNull());
    const PreparedLabel label
        = LabelRenderer::prepare(designer->document().report(), { TicketReport::sampleDataset() });
    QCOMPARE(label.pages.at(0).items.at(0).text, QStringLiteral("N° 123 x1"));
}

void TestLabelDesigner::fontAndPagePanels()
{
    auto designer = makeDesigner();
    QVERIFY(designer);
    designer->canvas()->setSelection({ article });
    designer->findChild<QSpinBox *>(QStringLiteral("fontHeight"))->setValue(18);
    designer->findChild<QToolButton *>(QStringLiteral("italic"))->click();
    designer->findChild<QToolButton *>(QStringLiteral("bold"))->click(); // bold off
    const LabelFont font = designer->document().object(article).font();
    QCOMPARE(font.height, -18);
    QCOMPARE(font.style, int(LabelFont::Italic));
    QCOMPARE(font.name, QStringLiteral("Arial")); // as the layout named it, not its stand-in
    designer->findChild<QCheckBox *>(QStringLiteral("frameBottom"))->click();
    QCOMPARE(designer->document().object(article).frame().sides, int(LabelFrame::Bottom));
    designer->findChild<QComboBox *>(QStringLiteral("hAlign"))->setCurrentIndex(2);
    QCOMPARE(designer->document().object(article).hAlign(), LabelObject::HAlign::Right);
    designer->findChild<QDoubleSpinBox *>(QStringLiteral("left"))->setValue(2);
    QVERIFY(qAbs(designer->document().object(article).geometry().left() - 2 * 96 / 25.4) < 0.001);

    designer->findChild<QDoubleSpinBox *>(QStringLiteral("paperWidth"))->setValue(57);
    designer->findChild<QDoubleSpinBox *>(QStringLiteral("marginTop"))->setValue(2);
    QCOMPARE(designer->document().page(0).paperSize(), QSizeF(57, 20));
    QCOMPARE(designer->document().page(0).margins().top(), 2.0);
    // Margins that leave no paper are not taken.
    designer->findChild<QDoubleSpinBox *>(QStringLiteral("marginLeft"))->setValue(60);
    QCOMPARE(designer->document().page(0).margins().left(), 1.0);
    QCOMPARE(designer->findChild<QDoubleSpinBox *>(QStringLiteral("marginLeft"))->value(), 1.0);

    const int steps = designer->document().undoStack()->count();
    QCOMPARE(steps, 8);
    for (int i = 0; i < steps; ++i)
        designer->document().undoStack()->undo();
    QVERIFY(designer->document().report() == LabelReport::builtIn());
}

void TestLabelDesigner::addText()
{
    auto designer = makeDesigner();
    QVERIFY(designer);
    designer->findChild<QAction *>(QStringLiteral("addText"))->trigger();
    const QList<LabelElementRef> selection = designer->canvas()->selection();
    QCOMPARE(selection, QList<LabelElementRef>({ LabelElementRef { 0, 0, 2 } }));
    const LabelObject &memo = designer->document().object(selection.first());
    QCOMPARE(memo.font().characterHeight(), 13.0);
    QCOMPARE(memo.font().name, QStringLiteral("Arial"));
    QTest::keyClicks(designer->findChild<QPlainTextEdit *>(QStringLiteral("text")), QStringLiteral("Merci"));
    QCOMPARE(designer->document().object(selection.first()).text(), QStringLiteral("Merci"));
    QCOMPARE(designer->document().undoStack()->count(), 2);
}

void TestLabelDesigner::saveAsksForANameWhenThereIsNone()
{
    auto designer = makeDesigner();
    QVERIFY(designer);
    int asked = 0;
    const QString path = m_dir.filePath(QStringLiteral("Nouvelle.fr3"));
    designer->setFileNameChooser([&] {
        ++asked;
        return path;
    });
    designer->document().setText(number, QStringLiteral("#[Ticet.\"NUM_VENTE\"]"));
    designer->findChild<QAction *>(QStringLiteral("save"))->trigger();
    QCOMPARE(asked, 1);
    QVERIFY(!designer->document().isModified());
    QCOMPARE(LabelLayoutFile::read(path).pages().at(0).bands().at(0).objects().at(0).text(),
             QStringLiteral("#[Ticet.\"NUM_VENTE\"]"));
    QVERIFY(designer->windowTitle().contains(u"Nouvelle.fr3"));

    // From then on it saves to that file without asking.
    designer->document().setText(number, QStringLiteral("[Ticet.\"NUM_VENTE\"]"));
    designer->findChild<QAction *>(QStringLiteral("save"))->trigger();
    QCOMPARE(asked, 1);
    QCOMPARE(LabelLayoutFile::read(path), designer->document().report());
}

void TestLabelDesigner::closingWithChanges_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("save") << int(QMessageBox::Save) << true << true;
    QTest::newRow("discard") << int(QMessageBox::Discard) << true << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false;
}

void TestLabelDesigner::closingWithChanges()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);

    const QString path = m_dir.filePath(QStringLiteral("Etiquette.fr3"));
    LabelLayoutFile::write(LabelReport::builtIn(), path);
    auto designer = makeDesigner(path);
    QVERIFY(designer);
    int asked = 0;
    designer->setCloseQuestion([&] {
        ++asked;
        return QMessageBox::StandardButton(answer);
    });
    designer->document().setFillColor({ number }, 0xFF);
    designer->findChild<QAction *>(QStringLiteral("close"))->trigger();
    QCOMPARE(asked, 1);
    QCOMPARE(designer->isVisible(), !closed);
    QCOMPARE(LabelLayoutFile::read(path).pages().at(0).bands().at(0).objects().at(0).fillColor(),
             saved ? 0xFF : LabelColor::None);
}

void TestLabelDesigner::modifierTicketOpensTheFileModally()
{
    // The design command on the layout file of the working directory: the
    // designer opens modally on the file's layout; an edit saved there is
    // what the next print reads.
    QVERIFY(QDir().mkpath(QStringLiteral("Etat")));
    QVERIFY(QFile::copy(sampleLayout(), TicketReport::layoutFileName()));
    TicketPrinting printing;
    bool opened = false;
    printing.setDesignerHook([&](LabelDesigner &designer) {
        QTimer::singleShot(0, &designer, [&] {
            opened = designer.isModal() && designer.isVisible();
            QCOMPARE(designer.document().fileName(), TicketReport::layoutFileName());
            designer.document().setText(number, QStringLiteral("N° [Ticet.\"NUM_VENTE\"]"));
            designer.save();
            designer.document().setText(article, QStringLiteral("not saved"));
            designer.setCloseQuestion([] { return QMessageBox::Discard; });
            designer.reject();
        });
    });
    printing.modifierTicket(TicketReport::layoutFileName(), nullptr);
    QVERIFY(opened);
    // The report holds what the designer held when it closed.
    QCOMPARE(printing.frxReport1.layout().pages().at(0).bands().at(0).objects().at(1).text(),
             QStringLiteral("not saved"));

    // What was saved is in the file, what was not is not.
    const LabelReport saved = LabelLayoutFile::read(TicketReport::layoutFileName());
    QCOMPARE(saved.pages().at(0).bands().at(0).objects().at(0).text(),
             QStringLiteral("N° [Ticet.\"NUM_VENTE\"]"));
    QCOMPARE(saved.pages().at(0).bands().at(0).objects().at(1).text(), QStringLiteral("[Ticet.\"ARTICLE\"]"));
}

QTEST_MAIN(TestLabelDesigner)
#include "tst_labeldesigner.moc"
