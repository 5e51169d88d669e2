// The F1 hot key on a real X server: while the station holds it, no other
// program can take it; the station says nothing when another program already
// holds it, and lets it go when it ends.

#include "app/GlobalHotKey.h"

#include <QGuiApplication>
#include <QTest>
#include <memory>
#include <xcb/xcb.h>

namespace {
constexpr quint16 numLock = XCB_MOD_MASK_2;

/// Another X client, as another program on the same desktop would be.
class OtherProgram
{
public:
    OtherProgram()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
    }
    ~OtherProgram() { xcb_disconnect(m_connection); }

    bool isConnected() const { return xcb_connection_has_error(m_connection) == 0; }

    /// Tries to take F1 with those modifiers; true when it was free.
    bool grabF1(quint16 modifiers)
    {
        const xcb_keycode_t keycode = f1();
        xcb_generic_error_t *error
            = xcb_request_check(m_connection,
                                xcb_grab_key_checked(m_connection, 0, root(), modifiers, keycode,
                                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        if (error) {
            free(error);
            return false;
        }
        return true;
    }

    void releaseF1(quint16 modifiers)
    {
        xcb_ungrab_key(m_connection, f1(), root(), modifiers);
        xcb_flush(m_connection);
    }

private:
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root; }

    xcb_keycode_t f1() const
    {
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t *mapping = xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, quint8(count)), nullptr);
        xcb_keycode_t result = 0;
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(mapping);
        for (int i = 0; i < count && result == 0; ++i) {
            if (keysyms[i * mapping->keysyms_per_keycode] == 0xffbe)
                result = xcb_keycode_t(setup->min_keycode + i);
        }
        free(mapping);
        return result;
    }

    xcb_connection_t *m_connection;
};
} // namespace

class GlobalHotKeyTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void heldWhileAlive_data();
    void heldWhileAlive();
    void alreadyTakenBySomeoneElse_data();
    void alreadyTakenBySomeoneElse();
};

void GlobalHotKeyTest::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server");
    QVERIFY(OtherProgram().isConnected());
}

void GlobalHotKeyTest::heldWhileAlive_data()
{
    QTest::addColumn<quint16>("modifiers");
    QTest::newRow("F1 alone") << quint16(0);
    QTest::newRow("F1 with Num Lock on") << numLock;
    QTest::newRow("F1 with Caps Lock on") << quint16(XCB_MOD_MASK_LOCK);
}

void GlobalHotKeyTest::heldWhileAlive()
{
    QFETCH(quint16, modifiers);
    OtherProgram other;
    {
        GlobalHotKey hotKey;
        QVERIFY(hotKey.isActive());
        QVERIFY(!other.grabF1(modifiers));
        // F1 with a real modifier is not the hot key.
        QVERIFY(other.grabF1(XCB_MOD_MASK_CONTROL));
        other.releaseF1(XCB_MOD_MASK_CONTROL);
    }
    // Released with the object.
    QVERIFY(other.grabF1(modifiers));
    other.releaseF1(modifiers);
}

void GlobalHotKeyTest::alreadyTakenBySomeoneElse_data()
{
    QTest::addColumn<quint16>("held");
    QTest::newRow("F1 alone held") << quint16(0);
    QTest::newRow("only F1 with Num Lock held") << numLock;
}

void GlobalHotKeyTest::alreadyTakenBySomeoneElse()
{
    QFETCH(quint16, held);
    OtherProgram other;
    QVERIFY(other.grabF1(held));
    {
        GlobalHotKey hotKey;
        QVERIFY(!hotKey.isActive());
    }
    // It keeps nothing of the combinations it could take either.
    OtherProgram third;
    for (quint16 modifiers : { quint16(0), quint16(XCB_MOD_MASK_LOCK), numLock }) {
        if (modifiers == held)
            continue;
        QVERIFY(third.grabF1(modifiers));
        third.releaseF1(modifiers);
    }
    other.releaseF1(held);
}

QTEST_MAIN(GlobalHotKeyTest)
#include "tst_globalhotkey.moc"
