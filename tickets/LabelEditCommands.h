#pragma once

#include "tickets/LabelDesignDocument.h"

#include <QUndoCommand>

/// The edits of the label designer, one command per kind of edit.
///
/// Most edits change attributes of elements; AttributeEditCommand keeps the
/// attributes of each element before and after, so that undo gives back
/// exactly what was there (the text of every figure included).
class AttributeEditCommand : public QUndoCommand
{
public:
    enum Id { Geometry = 1, Text, Font, Alignment, Frame, Fill, Page, BandHeight };

    int id() const override { return m_id; }
    void undo() override;
    void redo() override;
    bool mergeWith(const QUndoCommand *other) override;

protected:
    /// edit changes one element's attributes to what the command sets.
    AttributeEditCommand(Id id, const QString &text, LabelDesignDocument *document,
                         const QList<LabelElementRef> &refs,
                         const std::function<void(LabelElementRef, LabelAttributes &)> &edit, int mergeKey);

private:
    void apply(const QList<LabelAttributes> &attributes);

    Id m_id;
    LabelDesignDocument *m_document;
    QList<LabelElementRef> m_refs;
    QList<LabelAttributes> m_before;
    QList<LabelAttributes> m_after;
    int m_mergeKey;
};

class MoveResizeCommand : public AttributeEditCommand
{
public:
    MoveResizeCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                      const QList<QRectF> &geometries, int mergeKey);
};

class EditTextCommand : public AttributeEditCommand
{
public:
    EditTextCommand(LabelDesignDocument *document, const LabelElementRef &ref, const QString &text);
};

class ChangeFontCommand : public AttributeEditCommand
{
public:
    ChangeFontCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                      const LabelFont &font);
};

class ChangeAlignmentCommand : public AttributeEditCommand
{
public:
    ChangeAlignmentCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                           LabelObject::HAlign hAlign, LabelObject::VAlign vAlign, bool wordWrap);
};

class ChangeFrameCommand : public AttributeEditCommand
{
public:
    ChangeFrameCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                       const LabelFrame &frame);
};

class ChangeFillCommand : public AttributeEditCommand
{
public:
    ChangeFillCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs, qint64 color);
};

class ChangePageCommand : public AttributeEditCommand
{
public:
    ChangePageCommand(LabelDesignDocument *document, int page, const QSizeF &paperSize,
                      const QMarginsF &margins, bool landscape);
};

class ChangeBandHeightCommand : public AttributeEditCommand
{
public:
    ChangeBandHeightCommand(LabelDesignDocument *document, const LabelElementRef &band, double height);
};

/// Adds an object at the end of a band, and the band first when it is new.
class AddObjectCommand : public QUndoCommand
{
public:
    /// newBand: a band to add at the end of the page first (the object's ref names it).
    AddObjectCommand(LabelDesignDocument *document, const LabelElementRef &ref, const LabelObject &object,
                     std::optional<LabelBand> newBand = std::nullopt);
    void undo() override;
    void redo() override;

private:
    LabelDesignDocument *m_document;
    LabelElementRef m_ref;
    LabelObject m_object;
    std::optional<LabelBand> m_newBand;
};

class DeleteObjectsCommand : public QUndoCommand
{
public:
    DeleteObjectsCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs);
    void undo() override;
    void redo() override;

private:
    LabelDesignDocument *m_document;
    QList<LabelElementRef> m_refs; ///< in order
    QList<LabelObject> m_objects;
};
