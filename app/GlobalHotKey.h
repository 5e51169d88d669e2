#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>

/// Holds the F1 key, without modifier, as a key of the whole desktop for as
/// long as it lives: while the station runs, F1 pressed in any window does
/// nothing. Works where the windows run on X11; elsewhere it holds nothing.
/// When another program already holds F1, it holds nothing either and says
/// nothing.
class GlobalHotKey : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit GlobalHotKey(QObject *parent = nullptr);
    ~GlobalHotKey() override;

    /// True when F1 is held by this object.
    bool isActive() const { return !m_grabs.isEmpty(); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Grab
    {
        quint32 root;
        quint8 keycode;
        quint16 modifiers;
    };

    void grab();
    void release();

    void *m_connection = nullptr; // xcb_connection_t
    QList<Grab> m_grabs;
};
