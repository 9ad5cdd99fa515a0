// SPDX-License-Identifier: MIT
#include "platform/qt/x11_selection.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace platform::qt {

namespace {

using Clock = std::chrono::steady_clock;

// How long an owner may take over one answer before it counts as gone.
constexpr std::chrono::milliseconds kAnswerTime(3000);

template <typename T>
struct Freed {
    T* p;
    explicit Freed(T* pointer) : p(pointer) {}
    ~Freed() { std::free(p); }
    Freed(const Freed&) = delete;
    Freed& operator=(const Freed&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

xcb_atom_t Intern(xcb_connection_t* c, const char* name) {
    const Freed reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

struct X11TextReader::Connection {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_atom_t clipboard = XCB_ATOM_NONE, utf8 = XCB_ATOM_NONE, incr = XCB_ATOM_NONE, property = XCB_ATOM_NONE,
               mimeUtf8 = XCB_ATOM_NONE;
    bool silent = false;  // the last transfer got no answer in time

    ~Connection() {
        if (c) xcb_disconnect(c);
    }

    // The next event `wanted` accepts, or nothing when the owner has not
    // answered by `deadline` or the connection broke. Other events are
    // dropped: this connection serves only the transfers it starts.
    template <typename Wanted>
    xcb_generic_event_t* waitFor(Wanted wanted, Clock::time_point deadline) {
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
                if (wanted(event)) return event;
                std::free(event);
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (xcb_connection_has_error(c) || left <= 0) {
                silent = true;
                return nullptr;
            }
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left));
        }
    }

    // One transfer of the selection as `target` into a window made for it
    // (destroying the window breaks off a transfer that is not finished).
    Fetched fetch(xcb_atom_t target, std::size_t cap) {
        silent = false;
        const xcb_window_t window = xcb_generate_id(c);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        Fetched fetched = transfer(window, target, cap);
        xcb_destroy_window(c, window);
        xcb_flush(c);
        return fetched;
    }

    Fetched transfer(xcb_window_t window, xcb_atom_t target, std::size_t cap) {
        xcb_convert_selection(c, window, clipboard, target, property, XCB_CURRENT_TIME);
        xcb_flush(c);
        auto deadline = Clock::now() + kAnswerTime;
        const Freed notified(waitFor(
            [&](xcb_generic_event_t* e) {
                if ((e->response_type & 0x7f) != XCB_SELECTION_NOTIFY) return false;
                const auto* n = reinterpret_cast<xcb_selection_notify_event_t*>(e);
                return n->requestor == window && n->selection == clipboard;
            },
            deadline));
        if (!notified || reinterpret_cast<xcb_selection_notify_event_t*>(notified.p)->property == XCB_ATOM_NONE)
            return {};

        // Its type and length first, without its contents.
        const Freed head(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
        if (!head) return {};
        if (head->type != incr) {
            if (head->bytes_after > cap) return {Outcome::TooLong, {}};
            const Freed all(xcb_get_property_reply(
                c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, (head->bytes_after + 3) / 4),
                nullptr));
            if (!all || all->format != 8) return {};
            const auto* bytes = static_cast<const char*>(xcb_get_property_value(all.p));
            return {Outcome::Text, std::string(bytes, static_cast<std::size_t>(xcb_get_property_value_length(all.p)))};
        }

        // An incremental transfer may announce a lower bound of its size;
        // deleting the property asks for each next piece. A transfer refused
        // at once leaves the property be: the owner sends nothing and gives
        // up in its own time. One refused later is broken off by destroying
        // the window.
        const Freed bound(xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, incr, 0, 1), nullptr));
        if (!bound) return {};
        uint32_t atLeast = 0;
        if (xcb_get_property_value_length(bound.p) >= 4) std::memcpy(&atLeast, xcb_get_property_value(bound.p), 4);
        if (atLeast > cap) return {Outcome::TooLong, {}};
        xcb_delete_property(c, window, property);
        xcb_flush(c);
        // However the owner paces its pieces, the whole transfer has a bound.
        const Clock::time_point last = Clock::now() + 3 * kAnswerTime;
        std::string text;
        for (;;) {
            deadline = std::min(Clock::now() + kAnswerTime, last);
            const Freed changed(waitFor(
                [&](xcb_generic_event_t* e) {
                    if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
                    const auto* n = reinterpret_cast<xcb_property_notify_event_t*>(e);
                    return n->window == window && n->atom == property && n->state == XCB_PROPERTY_NEW_VALUE;
                },
                deadline));
            if (!changed) return {};
            const uint32_t room = static_cast<uint32_t>((cap - text.size()) / 4 + 1);
            const Freed piece(xcb_get_property_reply(
                c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, room), nullptr));
            if (!piece) return {};
            const auto length = static_cast<std::size_t>(xcb_get_property_value_length(piece.p));
            if (length == 0) return {Outcome::Text, std::move(text)};
            if (piece->bytes_after > 0 || text.size() + length > cap) return {Outcome::TooLong, {}};
            text.append(static_cast<const char*>(xcb_get_property_value(piece.p)), length);
            xcb_flush(c);  // the property read is deleted: the owner sends the next piece
        }
    }
};

X11TextReader::X11TextReader() {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        return;
    }
    auto x = std::make_unique<Connection>();
    x->c = c;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
    if (screens.rem <= 0) return;
    x->root = screens.data->root;
    x->clipboard = Intern(c, "CLIPBOARD");
    x->utf8 = Intern(c, "UTF8_STRING");
    x->mimeUtf8 = Intern(c, "text/plain;charset=utf-8");
    x->incr = Intern(c, "INCR");
    x->property = Intern(c, "KALEIDOMAT_SELECTION");
    if (x->clipboard == XCB_ATOM_NONE || x->utf8 == XCB_ATOM_NONE || x->incr == XCB_ATOM_NONE ||
        x->property == XCB_ATOM_NONE)
        return;
    x_ = std::move(x);
}

X11TextReader::~X11TextReader() = default;

bool X11TextReader::connected() const { return x_ && !xcb_connection_has_error(x_->c); }

X11TextReader::Fetched X11TextReader::fetchText(std::size_t cap) {
    if (!connected()) return {};
    // UTF-8 as most programs offer it, then Latin-1 for older ones.
    for (const xcb_atom_t target : {x_->utf8, x_->mimeUtf8}) {
        if (target == XCB_ATOM_NONE) continue;
        Fetched fetched = x_->fetch(target, cap);
        if (x_->silent) return {};  // an owner that does not answer is not asked again
        if (fetched.outcome != Outcome::None) {
            // Malformed UTF-8 as Qt would read it.
            if (fetched.outcome == Outcome::Text) fetched.text = QString::fromUtf8(fetched.text).toStdString();
            return fetched;
        }
    }
    Fetched latin1 = x_->fetch(XCB_ATOM_STRING, cap);
    if (latin1.outcome == Outcome::Text) latin1.text = QString::fromLatin1(latin1.text).toStdString();
    return latin1;
}

}  // namespace platform::qt
