#include "app/GlobalHotKey.h"

#include <QGuiApplication>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define STATION_HAVE_XCB 1
#endif

namespace {
#ifdef STATION_HAVE_XCB
constexpr xcb_keysym_t keysymF1 = 0xffbe;

// The hot key means F1 "with no modifier": the lock keys are not modifiers to
// the user, so F1 is held whatever the state of Caps Lock and Num Lock.
constexpr quint16 lockCombinations[] = {
    0,
    XCB_MOD_MASK_LOCK,
    XCB_MOD_MASK_2,
    XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2,
};

QList<xcb_keycode_t> keycodesOf(xcb_connection_t *connection, xcb_keysym_t keysym)
{
    QList<xcb_keycode_t> result;
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t *mapping = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, quint8(count)), nullptr);
    if (!mapping)
        return result;
    const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(mapping);
    const int perKeycode = mapping->keysyms_per_keycode;
    for (int i = 0; i < count; ++i) {
        if (perKeycode > 0 && keysyms[i * perKeycode] == keysym)
            result.append(xcb_keycode_t(setup->min_keycode + i));
    }
    free(mapping);
    return result;
}
#endif
} // namespace

GlobalHotKey::GlobalHotKey(QObject *parent)
    : QObject(parent)
{
#ifdef STATION_HAVE_XCB
    auto *x11 = qGuiApp && QGuiApplication::platformName() == QLatin1String("xcb")
        ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
        : nullptr;
    if (x11 && x11->connection()) {
        m_connection = x11->connection();
        grab();
        if (isActive())
            qGuiApp->installNativeEventFilter(this);
    }
#endif
}

GlobalHotKey::~GlobalHotKey()
{
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    release();
}

void GlobalHotKey::grab()
{
#ifdef STATION_HAVE_XCB
    auto *connection = static_cast<xcb_connection_t *>(m_connection);
    const QList<xcb_keycode_t> keycodes = keycodesOf(connection, keysymF1);
    bool refused = keycodes.isEmpty();
    for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
         screen.rem && !refused; xcb_screen_next(&screen)) {
        for (xcb_keycode_t keycode : keycodes) {
            for (quint16 modifiers : lockCombinations) {
                // Not owner events: F1 goes to the grab even over our own windows.
                xcb_generic_error_t *error = xcb_request_check(
                    connection,
                    xcb_grab_key_checked(connection, 0, screen.data->root, modifiers, keycode,
                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
                if (error) {
                    free(error);
                    refused = true;
                    break;
                }
                m_grabs.append({ screen.data->root, keycode, modifiers });
            }
        }
    }
    // Another program holds F1: hold nothing rather than half of it.
    if (refused)
        release();
#endif
}

void GlobalHotKey::release()
{
#ifdef STATION_HAVE_XCB
    auto *connection = static_cast<xcb_connection_t *>(m_connection);
    for (const Grab &grab : std::as_const(m_grabs))
        xcb_ungrab_key(connection, grab.keycode, grab.root, grab.modifiers);
    // A round trip: F1 is free for others once this returns.
    if (!m_grabs.isEmpty())
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
#endif
    m_grabs.clear();
}

bool GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result)
{
    Q_UNUSED(result)
#ifdef STATION_HAVE_XCB
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
    for (const Grab &grab : std::as_const(m_grabs)) {
        if (grab.keycode == key->detail && grab.root == key->event)
            return true; // the hot key does nothing
    }
#else
    Q_UNUSED(eventType)
    Q_UNUSED(message)
#endif
    return false;
}
