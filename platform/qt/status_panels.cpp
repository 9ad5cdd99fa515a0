// SPDX-License-Identifier: MIT
#include "platform/qt/status_panels.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <algorithm>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <qdrawutil.h>

#include "ui/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_translations.h"

namespace platform::qt {

namespace {
constexpr std::array<int, StatusPanels::kPanelCount> kShares{3351, 3351, 2999, 2646, 2600};
constexpr int kTotalShares = 3351 + 3351 + 2999 + 2646 + 2600;
constexpr int kGap = 2;  // between two panels
}  // namespace

StatusPanels::StatusPanels(QWidget* parent)
    : QWidget(parent), pacer_(this, [this] {
          for (int panel = 1; panel <= kPanelCount; ++panel)
              if (dirty_[panel - 1]) update(panelRect(panel));
          dirty_.fill(false);
      }) {
    setFixedHeight(kHeight);
    setAccessibleName(TranslatedText(texts::kAccessStatusName));
    setFocusPolicy(Qt::NoFocus);
    describe_.setSingleShot(true);
    connect(&describe_, &QTimer::timeout, this, [this] {
        QStringList shown;
        for (const QString& text : texts_)
            if (!text.isEmpty()) shown << text;
        setAccessibleDescription(shown.join(QString::fromUtf8(texts::kAccessSeparator)));
    });
}

void StatusPanels::setText(int panel, const QString& text) {
    if (panel < 1 || panel > kPanelCount) return;
    if (texts_[panel - 1] == text) return;
    texts_[panel - 1] = text;
    utf8_[panel - 1].clear();
    dirty_[panel - 1] = true;
    pacer_.changed();
    if (!describe_.isActive()) describe_.start(kDescribeMs);
}

void StatusPanels::setText(int panel, const std::string& utf8) {
    if (panel < 1 || panel > kPanelCount) return;
    if (utf8_[panel - 1] == utf8 && !utf8.empty()) return;
    setText(panel, QString::fromStdString(utf8));
    utf8_[panel - 1] = utf8;
}

QString StatusPanels::text(int panel) const {
    if (panel < 1 || panel > kPanelCount) return {};
    return texts_[panel - 1];
}

int StatusPanels::panelLeft(int panel) const {
    if (panel < 1 || panel > kPanelCount) return 0;
    return lefts_[panel - 1];
}

QRect StatusPanels::panelRect(int panel) const {
    if (panel < 1 || panel > kPanelCount) return {};
    const int left = panelLeft(panel);
    const int right = panel == kPanelCount ? width() : panelLeft(panel + 1) - kGap;
    return QRect(left, 2, right - left, height() - 2);
}

QRect StatusPanels::textRect(int panel) const { return panelRect(panel).adjusted(3, 0, -2, 0); }

void StatusPanels::resizeEvent(QResizeEvent*) { fitFont(); }

void StatusPanels::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    setAccessibleName(TranslatedText(texts::kAccessStatusName));
    fitFont();
    update();
}

// Each panel gets the room its design text needs (its colour panel, the
// widest colour), and what is left over in the proportion of the shares; the
// font is the largest, up to the window's, with which everything fits.
void StatusPanels::fitFont() {
    const QString designTexts[kPanelCount] = {
        TranslatedText(texts::kPanel1Design), TranslatedText(texts::kPanel2Design),
        TranslatedText(texts::kPanel3Design), QString::fromUtf8(texts::kColorPrefix) + QStringLiteral("DDDDDD"),
        TranslatedText(texts::kPanel5Design)};
    constexpr int kPadding = 5 + kGap;  // beside the text, as textRect leaves it, and between panels
    QFont candidate = parentWidget() ? parentWidget()->font() : QFont();
    std::array<int, kPanelCount> needs{};
    int needed = 0;
    for (int pixels = QFontInfo(candidate).pixelSize(); pixels > 8; --pixels) {
        candidate.setPixelSize(pixels);
        const QFontMetrics metrics(candidate);
        needed = 0;
        // A glyph may reach beyond its advance: the wider of the two counts.
        const auto widthOf = [&](const QString& text) {
            return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
        };
        for (int i = 0; i < kPanelCount; ++i) {
            needs[i] = std::max(widthOf(designTexts[i]), i == 3 ? widthOf(QString::fromUtf8(texts::kPanel4Design)) : 0) +
                       kPadding;
            needed += needs[i];
        }
        if (needed <= width()) break;
    }
    const int spare = std::max(0, width() - needed);
    for (int i = 0, left = 0, shares = 0; i < kPanelCount; ++i) {
        lefts_[i] = left + static_cast<int>(static_cast<long long>(spare) * shares / kTotalShares);
        left += needs[i];
        shares += kShares[i];
    }
    setFont(candidate);
    laidOut_.fill(QStaticText());
}

void StatusPanels::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    for (int panel = 1; panel <= kPanelCount; ++panel) {
        const QRect frame = panelRect(panel);
        if (!event->region().intersects(frame)) continue;  // only the panels being repainted
        dirty_[panel - 1] = false;
        qDrawShadePanel(&painter, frame, palette(), /*sunken=*/true, 1);
        // One line, left-aligned and centred vertically in the text rectangle.
        QStaticText& text = laidOut_[panel - 1];
        if (text.text() != texts_[panel - 1]) {
            text = QStaticText(texts_[panel - 1]);
            text.setTextFormat(Qt::PlainText);
            text.prepare(QTransform(), font());
        }
        const QRect area = textRect(panel);
        const QFontMetricsF metrics(font());
        const qreal top = area.top() + (area.height() - metrics.height()) / 2;  // as drawText centres
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
        painter.drawStaticText(QPointF(area.left(), top), text);
        painter.restore();
    }
}

// The whole text of a panel that cuts it off (the tracer's line in the
// pointer panel), shown when the pointer rests on it.
bool StatusPanels::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const QPoint position = static_cast<QHelpEvent*>(event)->pos();
    for (int panel = 1; panel <= kPanelCount; ++panel) {
        if (!panelRect(panel).contains(position)) continue;
        const QString& text = texts_[panel - 1];
        if (QFontMetrics(font()).horizontalAdvance(text) > textRect(panel).width()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, this, panelRect(panel));
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void StatusPanels::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (mouse_) mouse_(mouseButton(event->button()), mouseModifiers(event->modifiers()), position.x(), position.y());
}

}  // namespace platform::qt
