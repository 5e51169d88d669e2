#pragma once

#include "tickets/LabelFont.h"
#include "tickets/LabelFrame.h"
#include "tickets/LabelObject.h"

#include <QList>
#include <QRectF>
#include <QSizeF>

/// The pages of a label run, ready to paint: every object at its place on
/// the page (pixels of 1/96 inch from the paper's corner) with its text
/// already evaluated.
struct PreparedLabel
{
    struct Band
    {
        QRectF rect;
        qint64 fillColor = LabelColor::None;
        LabelFrame frame;
    };
    struct Item
    {
        LabelObject object; ///< geometry on the page
        LabelFont font;
        QString text; ///< what a text object shows
    };
    struct Page
    {
        QSizeF paperSize; ///< millimetres
        bool landscape = false;
        QList<Band> bands;
        QList<Item> items;
    };

    QList<Page> pages;

    bool isEmpty() const { return pages.isEmpty(); }
};
