#include "platform/qt/status_panels.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include "ui/texts.h"
#include "platform/qt/board_view.h"

namespace platform::qt {

namespace {
constexpr std::array<int, StatusPanels::kPanelCount> kShares{3351, 3351, 2999, 2646};
constexpr int kTotalShares = 3351 + 3351 + 2999 + 2646;
constexpr int kGap = 2;  // between two panels
}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    setFocusPolicy(Qt::NoFocus);
}

void StatusPanels::setText(int panel, const QString& text) {
    if (panel < 1 || panel > kPanelCount) return;
    if (texts_[panel - 1] == text) return;
    texts_[panel - 1] = text;
    update(panelRect(panel));
}

QString StatusPanels::text(int panel) const {
    if (panel < 1 || panel > kPanelCount) return {};
    return texts_[panel - 1];
}

int StatusPanels::panelLeft(int panel) const {
    if (panel < 1 || panel > kPanelCount) return 0;
    int shares = 0;
    for (int i = 0; i < panel - 1; ++i) shares += kShares[i];
    return static_cast<int>(static_cast<long long>(width()) * shares / kTotalShares);
}

QRect StatusPanels::panelRect(int panel) const {
    if (panel < 1 || panel > kPanelCount) return {};
    const int left = panelLeft(panel);
    const int right = panel == kPanelCount ? width() : panelLeft(panel + 1) - kGap;
    return QRect(left, 2, right - left, height() - 2);
}

QRect StatusPanels::textRect(int panel) const { return panelRect(panel).adjusted(3, 0, -2, 0); }

void StatusPanels::resizeEvent(QResizeEvent*) { fitFont(); }

void StatusPanels::fitFont() {
    const char* const designTexts[kPanelCount] = {texts::kPanel1Design, texts::kPanel2Design, texts::kPanel3Design,
                                                  texts::kPanel4Design};
    QFont candidate = parentWidget() ? parentWidget()->font() : QFont();
    int pixels = QFontInfo(candidate).pixelSize();
    for (; pixels > 8; --pixels) {
        candidate.setPixelSize(pixels);
        const QFontMetrics metrics(candidate);
        bool fits = true;
        for (int panel = 1; panel <= kPanelCount; ++panel)
            fits = fits && metrics.horizontalAdvance(QString::fromUtf8(designTexts[panel - 1])) <= textRect(panel).width();
        if (fits) break;
    }
    candidate.setPixelSize(pixels);
    setFont(candidate);
}

void StatusPanels::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    for (int panel = 1; panel <= kPanelCount; ++panel) {
        const QRect frame = panelRect(panel);
        qDrawShadePanel(&painter, frame, palette(), /*sunken=*/true, 1);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(textRect(panel), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         texts_[panel - 1]);
    }
}

void StatusPanels::mousePressEvent(QMouseEvent* event) {
    const int shift = (event->modifiers() & Qt::ShiftModifier) ? 1 : 0;
    const QPoint position = event->position().toPoint();
    if (mouse_) mouse_(buttonMask(event->button()), shift, position.x(), position.y());
}

}  // namespace platform::qt
