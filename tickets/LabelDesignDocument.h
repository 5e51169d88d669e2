#pragma once

#include "tickets/LabelReport.h"

#include <QList>
#include <QObject>
#include <QRectF>
#include <QUndoStack>

/// Where an element of a layout is: a page, a band of it, an object of the
/// band; -1 for "the element is the page" or "the band".
struct LabelElementRef
{
    int page = 0;
    int band = -1;
    int object = -1;

    bool isObject() const { return object >= 0; }
    bool isBand() const { return band >= 0 && object < 0; }
    auto operator<=>(const LabelElementRef &) const = default;
};

/// A layout being designed: the report, the file it is saved to, and the
/// undo stack through which every change is made (one command per kind of
/// edit), so that each can be undone and redone.
class LabelDesignDocument : public QObject
{
    Q_OBJECT

public:
    /// A report without pages gets one with the designer's defaults (A4,
    /// portrait, margins of 10 mm) and lists the ticket dataset; that is not
    /// an edit of its own.
    explicit LabelDesignDocument(LabelReport report, QString fileName = {}, QObject *parent = nullptr);

    const LabelReport &report() const { return m_report; }
    /// The file the layout is saved to; empty when it came from none.
    const QString &fileName() const { return m_fileName; }
    QUndoStack *undoStack() { return &m_undoStack; }
    bool isModified() const { return !m_undoStack.isClean(); }

    /// Writes the layout to fileName (StationError when there is none or the
    /// write fails; the file is then as it was).
    void save();
    /// Writes to path, which becomes the file name.
    void saveAs(const QString &path);

    // Reading, by reference.
    const LabelPage &page(int index) const { return m_report.pages().at(index); }
    const LabelBand &band(const LabelElementRef &ref) const;
    const LabelObject &object(const LabelElementRef &ref) const;
    const LabelAttributes &attributes(const LabelElementRef &ref) const;
    /// The objects of every band of a page, by reference, in band order.
    QList<LabelElementRef> objects(int page) const;
    bool isValid(const LabelElementRef &ref) const;

    // Edits. Each pushes one command; refs that name no object are left out.
    /// Moves and resizes; edits with the same non-zero mergeKey (one drag)
    /// are one step of the undo stack.
    void setGeometry(const QList<LabelElementRef> &refs, const QList<QRectF> &geometries, int mergeKey = 0);
    /// Successive text edits of one object are one step. The object then shows
    /// its text, no longer a field it was bound to.
    void setText(const LabelElementRef &ref, const QString &text);
    void setFont(const QList<LabelElementRef> &refs, const LabelFont &font);
    void setAlignment(const QList<LabelElementRef> &refs, LabelObject::HAlign hAlign,
                      LabelObject::VAlign vAlign, bool wordWrap);
    void setFrame(const QList<LabelElementRef> &refs, const LabelFrame &frame);
    void setFillColor(const QList<LabelElementRef> &refs, qint64 color);
    /// Adds a text object with the designer's defaults to a band (to a new
    /// report title band when the page has none: band -1) and returns it.
    LabelElementRef addText(int page, int band, const QRectF &geometry, const QString &text = {});
    void deleteObjects(const QList<LabelElementRef> &refs);
    void setPage(int page, const QSizeF &paperSize, const QMarginsF &margins, bool landscape);
    void setBandHeight(const LabelElementRef &band, double height);

    /// A name of the form baseN that no element of the report has.
    QString uniqueName(const QString &base) const;

    // For the commands.
    LabelAttributes &attributesForEdit(const LabelElementRef &ref);
    LabelReport &reportForEdit() { return m_report; }
    void notifyChanged() { emit changed(); }

signals:
    /// After every edit, undo and redo.
    void changed();

private:
    QList<LabelElementRef> validObjects(const QList<LabelElementRef> &refs) const;

    LabelReport m_report;
    QString m_fileName;
    QUndoStack m_undoStack;
};
