#include "platform/qt/toolbar_icons.h"

#include <QBitmap>
#include <QColor>
#include <cstring>

// Each file defines one `static const char* const <name>_xpm[]`.
#include "ui/icons/auto_stimulate.xpm"
#include "ui/icons/clear.xpm"
#include "ui/icons/color.xpm"
#include "ui/icons/copy.xpm"
#include "ui/icons/cut.xpm"
#include "ui/icons/expand.xpm"
#include "ui/icons/new_registration.xpm"
#include "ui/icons/open.xpm"
#include "ui/icons/paste.xpm"
#include "ui/icons/random.xpm"
#include "ui/icons/reduction.xpm"
#include "ui/icons/reverse_rl.xpm"
#include "ui/icons/reverse_tb.xpm"
#include "ui/icons/rotate.xpm"
#include "ui/icons/save.xpm"
#include "ui/icons/start.xpm"
#include "ui/icons/step.xpm"
#include "ui/icons/stop.xpm"

namespace platform::qt {

namespace {
struct Picture {
    const char* key;
    const char* const* xpm;
};
constexpr Picture kPictures[] = {
    {"Open", open_xpm},
    {"Save", save_xpm},
    {"Start", start_xpm},
    {"Stop", stop_xpm},
    {"Step", step_xpm},
    {"AutoStimulate", auto_stimulate_xpm},
    {"Cut", cut_xpm},
    {"Copy", copy_xpm},
    {"Paste", paste_xpm},
    {"New registration", new_registration_xpm},
    {"Random", random_xpm},
    {"Clear", clear_xpm},
    {"Color", color_xpm},
    {"Reversing right and left", reverse_rl_xpm},
    {"Reversing top and bottom", reverse_tb_xpm},
    {"Rotate", rotate_xpm},
    {"Expand", expand_xpm},
    {"Reduction", reduction_xpm},
};
}  // namespace

QPixmap toolbarPicture(const std::string& key) {
    for (const Picture& picture : kPictures) {
        if (key != picture.key) continue;
        QPixmap pixmap(picture.xpm);
        pixmap.setMask(pixmap.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
        return pixmap;
    }
    return {};
}

}  // namespace platform::qt
