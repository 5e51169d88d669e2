// The designer's document: every kind of edit, its undo and redo, and saving.

#include "TicketTestSupport.h"
#include "app/StationError.h"
#include "tickets/LabelDesignDocument.h"
#include "tickets/LabelLayoutFile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace TicketTestSupport;

namespace {
const LabelElementRef number { 0, 0, 0 }; // frxDBDataset1R_Art of the built-in label
const LabelElementRef article { 0, 0, 1 }; // TicetARTICLE
const LabelElementRef title { 0, 0, -1 }; // ReportTitle1

enum class Edit {
    Move,
    Resize,
    Text,
    Font,
    Alignment,
    Frame,
    Fill,
    Page,
    BandHeight,
    AddText,
    AddTextAndBand,
    Delete
};
} // namespace

Q_DECLARE_METATYPE(Edit)

class TestLabelDesignDocument : public QObject
{
    Q_OBJECT

private slots:
    void editUndoRedo_data();
    void editUndoRedo();
    void dragIsOneStep();
    void typingIsOneStep();
    void editThatChangesNothingIsNoStep();
    void newDocumentGetsADefaultPage();
    void save();
};

void TestLabelDesignDocument::editUndoRedo_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::newRow("move") << Edit::Move;
    QTest::newRow("resize") << Edit::Resize;
    QTest::newRow("text") << Edit::Text;
    QTest::newRow("font") << Edit::Font;
    QTest::newRow("alignment and wrap") << Edit::Alignment;
    QTest::newRow("frame") << Edit::Frame;
    QTest::newRow("fill") << Edit::Fill;
    QTest::newRow("page size and margins") << Edit::Page;
    QTest::newRow("band height") << Edit::BandHeight;
    QTest::newRow("add a text") << Edit::AddText;
    QTest::newRow("add a text to a page without band") << Edit::AddTextAndBand;
    QTest::newRow("delete two objects") << Edit::Delete;
}

void TestLabelDesignDocument::editUndoRedo()
{
    QFETCH(Edit, edit);

    LabelReport start = LabelReport::builtIn();
    if (edit == Edit::AddTextAndBand)
        start.pages()[0].bands().removeAt(0);
    LabelDesignDocument document(start, QStringLiteral("label.fr3"));
    QSignalSpy changed(&document, &LabelDesignDocument::changed);

    LabelFont font;
    font.name = QStringLiteral("Liberation Serif");
    font.height = -20;
    font.style = LabelFont::Italic | LabelFont::Underline;
    font.color = 255;
    LabelFrame frame;
    frame.sides = LabelFrame::Top | LabelFrame::Bottom;
    frame.width = 2;

    switch (edit) {
    case Edit::Move:
        document.setGeometry({ number, article },
                             { QRectF(10, 2, 132.28355, 48.37797), QRectF(10, 50, 136.06308, 22.67718) });
        QCOMPARE(document.object(number).geometry().topLeft(), QPointF(10, 2));
        QCOMPARE(document.object(article).geometry().topLeft(), QPointF(10, 50));
        break;
    case Edit::Resize:
        document.setGeometry({ number }, { QRectF(4.55906, 1.33859, 100.123456789, 40) });
        QCOMPARE(document.object(number).geometry().size(), QSizeF(100.12346, 40));
        break;
    case Edit::Text:
        document.setText(article, QStringLiteral("Article : [Ticet.\"ARTICLE\"]"));
        QCOMPARE(document.object(article).text(), QStringLiteral("Article : [Ticet.\"ARTICLE\"]"));
        QCOMPARE(document.object(article).dataField(), QString()); // the text now shows, not the bound field
        break;
    case Edit::Font:
        document.setFont({ number, article }, font);
        QCOMPARE(document.object(number).font(), font);
        QCOMPARE(document.object(article).font(), font);
        break;
    case Edit::Alignment:
        document.setAlignment({ number }, LabelObject::HAlign::Right, LabelObject::VAlign::Bottom, false);
        QCOMPARE(document.object(number).hAlign(), LabelObject::HAlign::Right);
        QCOMPARE(document.object(number).vAlign(), LabelObject::VAlign::Bottom);
        QCOMPARE(document.object(number).wordWrap(), false);
        break;
    case Edit::Frame:
        document.setFrame({ article }, frame);
        QCOMPARE(document.object(article).frame(), frame);
        break;
    case Edit::Fill:
        document.setFillColor({ article }, 0x00FFFF);
        QCOMPARE(document.object(article).fillColor(), 0x00FFFF);
        break;
    case Edit::Page:
        document.setPage(0, QSizeF(57, 32), QMarginsF(2, 1, 2, 1), false);
        QCOMPARE(document.page(0).paperSize(), QSizeF(57, 32));
        QCOMPARE(document.page(0).margins(), QMarginsF(2, 1, 2, 1));
        QCOMPARE(document.page(0).paperSizeCode(), LabelPage::PaperCustom);
        break;
    case Edit::BandHeight:
        document.setBandHeight(title, 60);
        QCOMPARE(document.band(title).height(), 60.0);
        break;
    case Edit::AddText: {
        const LabelElementRef added
            = document.addText(0, 0, QRectF(0, 0, 94.48819, 18.89765), QStringLiteral("Merci"));
        QCOMPARE(added, (LabelElementRef { 0, 0, 2 }));
        const LabelObject &memo = document.object(added);
        QCOMPARE(memo.name(), QStringLiteral("Memo1"));
        QCOMPARE(memo.text(), QStringLiteral("Merci"));
        // The designer's defaults: Arial, 13 px, window text colour, no frame.
        QCOMPARE(memo.font().name, QStringLiteral("Arial"));
        QCOMPARE(memo.font().characterHeight(), 13.0);
        QCOMPARE(memo.font().color, LabelColor::WindowText);
        QCOMPARE(memo.frame().sides, 0);
        break;
    }
    case Edit::AddTextAndBand: {
        const LabelElementRef added = document.addText(0, -1, QRectF(0, 0, 50, 20));
        QCOMPARE(document.band(added).kind(), LabelBand::Kind::ReportTitle);
        QCOMPARE(document.band(added).name(), QStringLiteral("ReportTitle1"));
        QVERIFY(qAbs(document.band(added).height() - 19.5 * 96 / 25.4) < 0.001);
        break;
    }
    case Edit::Delete:
        document.deleteObjects({ article, number });
        QCOMPARE(document.page(0).bands().at(0).objects().size(), 0);
        break;
    }

    const LabelReport edited = document.report();
    QVERIFY(!(edited == start));
    QVERIFY(document.isModified());
    QCOMPARE(document.undoStack()->count(), 1);
    QCOMPARE(changed.count(), 1);

    document.undoStack()->undo();
    QVERIFY(document.report() == start); // attribute for attribute, text for text
    QVERIFY(!document.isModified());
    document.undoStack()->redo();
    QVERIFY(document.report() == edited);
}

void TestLabelDesignDocument::dragIsOneStep()
{
    LabelDesignDocument document(LabelReport::builtIn());
    const QRectF start = document.object(number).geometry();
    for (int step = 1; step <= 5; ++step)
        document.setGeometry({ number }, { start.translated(step, 0) }, 7);
    // The arrow keys: each press a step of its own.
    document.setGeometry({ number }, { start.translated(6, 0) });
    document.setGeometry({ number }, { start.translated(7, 0) });
    QCOMPARE(document.undoStack()->count(), 3);
    document.undoStack()->undo();
    document.undoStack()->undo();
    QCOMPARE(document.object(number).geometry(), start.translated(5, 0));
    document.undoStack()->undo();
    QCOMPARE(document.object(number).geometry(), start);
}

void TestLabelDesignDocument::typingIsOneStep()
{
    LabelDesignDocument document(LabelReport::builtIn());
    for (const QString &text :
         { QStringLiteral("N"), QStringLiteral("N°"), QStringLiteral("N° [Ticet.\"NUM_VENTE\"]") })
        document.setText(number, text);
    document.setText(article, QStringLiteral("x"));
    QCOMPARE(document.undoStack()->count(), 2);
    document.undoStack()->undo();
    QCOMPARE(document.object(number).text(), QStringLiteral("N° [Ticet.\"NUM_VENTE\"]"));
    document.undoStack()->undo();
    QCOMPARE(document.object(number).text(), QStringLiteral("[Ticet.\"NUM_VENTE\"]"));
}

void TestLabelDesignDocument::editThatChangesNothingIsNoStep()
{
    LabelDesignDocument document(LabelReport::builtIn());
    document.setGeometry({ number }, { document.object(number).geometry() });
    document.setAlignment({ number }, LabelObject::HAlign::Center, LabelObject::VAlign::Top, true);
    document.setPage(0, QSizeF(40, 20), QMarginsF(1, 0.5, 1, 0), false);
    document.setGeometry({ number }, { document.object(number).geometry().translated(1, 0) }, 3);
    document.setGeometry({ number }, { document.object(number).geometry().translated(-1, 0) }, 3); // and back
    QCOMPARE(document.undoStack()->count(), 0);
    QVERIFY(!document.isModified());
    QVERIFY(document.report() == LabelReport::builtIn());
}

void TestLabelDesignDocument::newDocumentGetsADefaultPage()
{
    LabelDesignDocument document { LabelReport() };
    QCOMPARE(document.report().pages().size(), 1);
    const LabelPage &page = document.page(0);
    QCOMPARE(page.paperSize(), QSizeF(210, 297));
    QCOMPARE(page.paperSizeCode(), LabelPage::PaperA4);
    QVERIFY(!page.isLandscape());
    QCOMPARE(page.margins(), QMarginsF(10, 10, 10, 10));
    QCOMPARE(document.report().datasets().size(), 1);
    QVERIFY(!document.isModified());
}

void TestLabelDesignDocument::save()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Etiquette_2X4.fr3"));
    QVERIFY(QFile::copy(fixture(QStringLiteral("unknown-parts.fr3")), path));
    LabelDesignDocument document(LabelLayoutFile::read(path), path);
    document.setText({ 0, 1, 0 }, QStringLiteral("Commande [Ticet.\"NUM_VENTE\"]"));
    document.save();
    QVERIFY(!document.isModified());
    const LabelReport saved = LabelLayoutFile::read(path);
    QVERIFY(saved == document.report());
    QVERIFY(QString::fromUtf8(contents(path)).contains(u"<TfrxBarcodeView Name=\"Code\""));

    LabelDesignDocument unnamed { LabelReport() };
    QVERIFY_THROWS_EXCEPTION(StationError, unnamed.save());
    const QString other = dir.filePath(QStringLiteral("Autre.fr3"));
    unnamed.saveAs(other);
    QCOMPARE(unnamed.fileName(), other);
    QVERIFY(LabelLayoutFile::read(other) == unnamed.report());
}

QTEST_GUILESS_MAIN(TestLabelDesignDocument)
#include "tst_labeldesigndocument.moc"
