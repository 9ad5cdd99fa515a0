// SPDX-License-Identifier: MIT
#pragma once

#include <QStaticText>
#include <QString>
#include <QTimer>
#include <QWidget>

class QResizeEvent;
#include <array>
#include <functional>

#include "platform/qt/repaint_pacer.h"
#include "platform/services.h"

namespace platform::qt {

// The status bar: five sunken text panels side by side (the last shows the
// speed), each as wide as its design text needs, the rest of the width shared
// in the proportion 3351 : 3351 : 2999 : 2646 : 2600. Mouse presses anywhere on it
// are reported with the button, the modifier keys and the position in the
// bar's pixels. A panel's text longer than the panel shows is its tool tip.
class StatusPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 5;
    static constexpr int kHeight = 23;

    using MouseHandler = std::function<void(MouseButton button, Modifiers modifiers, int x, int y)>;

    explicit StatusPanels(QWidget* parent = nullptr);

    void setMouseHandler(MouseHandler handler) { mouse_ = std::move(handler); }

    // Panels numbered from 1; other numbers are ignored (empty text, left 0).
    // text() has the new text at once; the screen follows within the
    // pacer's interval (a run changes the panels with every generation).
    void setText(int panel, const QString& text);
    // The same from UTF-8 bytes, converted only when they differ from the
    // last ones given.
    void setText(int panel, const std::string& utf8);
    QString text(int panel) const;
    int panelLeft(int panel) const;
    QRect panelRect(int panel) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;  // a new language: new design texts

private:
    QRect textRect(int panel) const;
    // The largest font, up to the default one, in which the design texts
    // fit their panels.
    void fitFont();

    std::array<QString, kPanelCount> texts_;
    // The texts laid out once: a run changes one or two panels per
    // generation, and laying out text is the costly part of painting them.
    std::array<QStaticText, kPanelCount> laidOut_;
    std::array<std::string, kPanelCount> utf8_;  // the last texts given as bytes
    std::array<bool, kPanelCount> dirty_{};       // changed, not yet repainted
    std::array<int, kPanelCount> lefts_{};        // where each panel begins, set with the font
    RepaintPacer pacer_;
    MouseHandler mouse_;
    // Screen readers read the panels' texts as the bar's description, brought
    // up to date at most every kDescribeMs during a run.
    static constexpr int kDescribeMs = 500;
    QTimer describe_;
};

}  // namespace platform::qt
