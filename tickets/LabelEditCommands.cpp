#include "tickets/LabelEditCommands.h"

#include <QCoreApplication>
#include <algorithm>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("LabelDesigner", text);
}

// An edit of an object's attributes made through the object's own setters.
std::function<void(LabelElementRef, LabelAttributes &)>
throughObject(LabelDesignDocument *document, const std::function<void(LabelElementRef, LabelObject &)> &edit)
{
    return [document, edit](LabelElementRef ref, LabelAttributes &attributes) {
        LabelObject object = document->object(ref);
        object.attributes() = attributes;
        edit(ref, object);
        attributes = object.attributes();
    };
}
} // namespace

AttributeEditCommand::AttributeEditCommand(
    Id id, const QString &text, LabelDesignDocument *document, const QList<LabelElementRef> &refs,
    const std::function<void(LabelElementRef, LabelAttributes &)> &edit, int mergeKey)
    : QUndoCommand(text)
    , m_id(id)
    , m_document(document)
    , m_refs(refs)
    , m_mergeKey(mergeKey)
{
    for (const LabelElementRef &ref : refs) {
        m_before.append(document->attributes(ref));
        LabelAttributes after = m_before.last();
        edit(ref, after);
        m_after.append(after);
    }
    // An edit that changes nothing is not kept on the stack.
    setObsolete(m_before == m_after);
}

void AttributeEditCommand::apply(const QList<LabelAttributes> &attributes)
{
    for (qsizetype i = 0; i < m_refs.size(); ++i)
        m_document->attributesForEdit(m_refs.at(i)) = attributes.at(i);
    m_document->notifyChanged();
}

void AttributeEditCommand::undo()
{
    apply(m_before);
}

void AttributeEditCommand::redo()
{
    apply(m_after);
}

bool AttributeEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *edit = static_cast<const AttributeEditCommand *>(other);
    if (m_mergeKey == 0 || edit->m_mergeKey != m_mergeKey || edit->m_refs != m_refs)
        return false;
    m_after = edit->m_after;
    setObsolete(m_before == m_after);
    return true;
}

MoveResizeCommand::MoveResizeCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                                     const QList<QRectF> &geometries, int mergeKey)
    : AttributeEditCommand(Geometry, refs.size() == 1 ? tr("Déplacer l'objet") : tr("Déplacer les objets"),
                           document, refs,
                           throughObject(document,
                                         [&](LabelElementRef ref, LabelObject &object) {
                                             object.setGeometry(geometries.at(refs.indexOf(ref)));
                                         }),
                           mergeKey)
{
}

EditTextCommand::EditTextCommand(LabelDesignDocument *document, const LabelElementRef &ref,
                                 const QString &text)
    : AttributeEditCommand(
        Text, tr("Modifier le texte"), document, { ref },
        [&](LabelElementRef, LabelAttributes &attributes) {
            attributes.setValue(QStringLiteral("Text"), text);
            // What is typed is what is printed: a field binding would hide it.
            attributes.remove(u"DataField");
        },
        // Every keystroke in the same object is one step.
        1)
{
}

ChangeFontCommand::ChangeFontCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                                     const LabelFont &font)
    : AttributeEditCommand(
        Font, tr("Changer la police"), document, refs,
        throughObject(document, [&](LabelElementRef, LabelObject &object) { object.setFont(font); }), 0)
{
}

ChangeAlignmentCommand::ChangeAlignmentCommand(LabelDesignDocument *document,
                                               const QList<LabelElementRef> &refs, LabelObject::HAlign hAlign,
                                               LabelObject::VAlign vAlign, bool wordWrap)
    : AttributeEditCommand(Alignment, tr("Changer l'alignement"), document, refs,
                           throughObject(document,
                                         [&](LabelElementRef, LabelObject &object) {
                                             if (object.hAlign() != hAlign)
                                                 object.setHAlign(hAlign);
                                             if (object.vAlign() != vAlign)
                                                 object.setVAlign(vAlign);
                                             if (object.wordWrap() != wordWrap)
                                                 object.setWordWrap(wordWrap);
                                         }),
                           0)
{
}

ChangeFrameCommand::ChangeFrameCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                                       const LabelFrame &frame)
    : AttributeEditCommand(
        Frame, tr("Changer le cadre"), document, refs,
        [&](LabelElementRef, LabelAttributes &attributes) { frame.writeTo(attributes); }, 0)
{
}

ChangeFillCommand::ChangeFillCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs,
                                     qint64 color)
    : AttributeEditCommand(
        Fill, tr("Changer le fond"), document, refs,
        throughObject(document, [&](LabelElementRef, LabelObject &object) { object.setFillColor(color); }), 0)
{
}

ChangePageCommand::ChangePageCommand(LabelDesignDocument *document, int page, const QSizeF &paperSize,
                                     const QMarginsF &margins, bool landscape)
    : AttributeEditCommand(
        Page, tr("Changer la page"), document, { LabelElementRef { page, -1, -1 } },
        [&](LabelElementRef, LabelAttributes &attributes) {
            LabelPage edited;
            edited.attributes() = attributes;
            edited.setPaperSize(paperSize);
            edited.setMargins(margins);
            if (edited.isLandscape() != landscape)
                edited.setLandscape(landscape);
            attributes = edited.attributes();
        },
        0)
{
}

ChangeBandHeightCommand::ChangeBandHeightCommand(LabelDesignDocument *document, const LabelElementRef &band,
                                                 double height)
    : AttributeEditCommand(
        BandHeight, tr("Changer la hauteur de la bande"), document, { band },
        [&](LabelElementRef, LabelAttributes &attributes) {
            attributes.updateNumber(QStringLiteral("Height"), height);
        },
        0)
{
}

AddObjectCommand::AddObjectCommand(LabelDesignDocument *document, const LabelElementRef &ref,
                                   const LabelObject &object, std::optional<LabelBand> newBand)
    : QUndoCommand(tr("Ajouter un texte"))
    , m_document(document)
    , m_ref(ref)
    , m_object(object)
    , m_newBand(std::move(newBand))
{
}

void AddObjectCommand::redo()
{
    LabelPage &page = m_document->reportForEdit().pages()[m_ref.page];
    if (m_newBand)
        page.bands().insert(m_ref.band, *m_newBand);
    page.bands()[m_ref.band].objects().insert(m_ref.object, m_object);
    m_document->notifyChanged();
}

void AddObjectCommand::undo()
{
    LabelPage &page = m_document->reportForEdit().pages()[m_ref.page];
    page.bands()[m_ref.band].objects().removeAt(m_ref.object);
    if (m_newBand)
        page.bands().removeAt(m_ref.band);
    m_document->notifyChanged();
}

DeleteObjectsCommand::DeleteObjectsCommand(LabelDesignDocument *document, const QList<LabelElementRef> &refs)
    : QUndoCommand(refs.size() == 1 ? tr("Supprimer l'objet") : tr("Supprimer les objets"))
    , m_document(document)
    , m_refs(refs)
{
    std::sort(m_refs.begin(), m_refs.end());
    m_refs.erase(std::unique(m_refs.begin(), m_refs.end()), m_refs.end());
    for (const LabelElementRef &ref : std::as_const(m_refs))
        m_objects.append(document->object(ref));
}

void DeleteObjectsCommand::redo()
{
    // From the last, so that the places of the others stay right.
    for (qsizetype i = m_refs.size() - 1; i >= 0; --i) {
        const LabelElementRef &ref = m_refs.at(i);
        m_document->reportForEdit().pages()[ref.page].bands()[ref.band].objects().removeAt(ref.object);
    }
    m_document->notifyChanged();
}

void DeleteObjectsCommand::undo()
{
    for (qsizetype i = 0; i < m_refs.size(); ++i) {
        const LabelElementRef &ref = m_refs.at(i);
        m_document->reportForEdit().pages()[ref.page].bands()[ref.band].objects().insert(ref.object,
                                                                                         m_objects.at(i));
    }
    m_document->notifyChanged();
}
