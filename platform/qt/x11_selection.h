// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform::qt {

// Reads the text of the X11 clipboard (the CLIPBOARD selection) from another
// program over a connection of its own, learning the text's size before
// fetching it: the property's length, or the lower bound an incremental
// transfer announces, then the increments as they come. A text longer than
// the cap is refused without being fetched (an incremental transfer is broken
// off as soon as it passes the cap), so a huge clipboard costs neither memory
// nor time. An owner that does not answer is given up after a few seconds.
//
// Never to be used while this program owns the clipboard: it would wait for
// an answer that its own event loop has to give.
class X11TextReader {
public:
    X11TextReader();  // connects to $DISPLAY
    ~X11TextReader();
    X11TextReader(const X11TextReader&) = delete;
    X11TextReader& operator=(const X11TextReader&) = delete;

    bool connected() const;

    enum class Outcome {
        Text,     // `text` holds it, as UTF-8
        TooLong,  // longer than the cap: not fetched
        None,     // no text (or the owner did not answer)
    };
    struct Fetched {
        Outcome outcome = Outcome::None;
        std::string text;
    };
    Fetched fetchText(std::size_t cap);

private:
    struct Connection;
    std::unique_ptr<Connection> x_;
};

}  // namespace platform::qt
