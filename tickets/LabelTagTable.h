#pragma once

#include <QString>
#include <optional>

/// The element names of a family of layout elements (bands, objects), kind by kind.
template<typename Kind> struct LabelTag
{
    Kind kind;
    const char16_t *tag;
};

template<typename Kind, std::size_t N> QString labelTagName(const LabelTag<Kind> (&tags)[N], Kind kind)
{
    for (const LabelTag<Kind> &entry : tags) {
        if (entry.kind == kind)
            return QString::fromUtf16(entry.tag);
    }
    return {};
}

template<typename Kind, std::size_t N>
std::optional<Kind> labelKindOfTag(const LabelTag<Kind> (&tags)[N], QStringView tag)
{
    for (const LabelTag<Kind> &entry : tags) {
        if (tag == QStringView(entry.tag))
            return entry.kind;
    }
    return std::nullopt;
}
