#include "platform/qt/toolbar_icons.h"

#include <QBitmap>
#include <QColor>
#include <cstring>

// Each file defines one `static const char* const <name>_xpm[]`.
#include "app/icons/auto_stimulate.xpm"
#include "app/icons/clear.xpm"
#include "app/icons/color.xpm"
#include "app/icons/copy.xpm"
#include "app/icons/cut.xpm"
#include "app/icons/expand.xpm"
#include "app/icons/new_registration.xpm"
#include "app/icons/open.xpm"
#include "app/icons/paste.xpm"
#include "app/icons/random.xpm"
#include "app/icons/reduction.xpm"
#include "app/icons/reverse_rl.xpm"
#include "app/icons/reverse_tb.xpm"
#include "app/icons/rotate.xpm"
#include "app/icons/save.xpm"
#include "app/icons/start.xpm"
#include "app/icons/step.xpm"
#include "app/icons/stop.xpm"

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
