#pragma once

#include <QStringList>

/// Which voice clips call an order number, in the order they are played.
class AnnouncementPlan
{
public:
    /// The clip names for number: the opening clip TALABIA, then
    /// - 0..100: "FA" + the number;
    /// - 101..999: the hundreds ("FA100".."FA900"), then, unless the rest is
    ///   zero, WA and "FA" + the rest (1..99);
    /// - 1000 and above: each digit as a clip of its own ("FA1", "FA2", "FA3",
    ///   "FA4" for 1234), since the clips hold no thousands.
    /// Throws StationError for a negative number, which has no clips.
    static QStringList clipsFor(int number);
};
