// SPDX-License-Identifier: MIT
// The speed ladder: the 速度 submenu, the keys one rung faster or slower,
// and the remembered settings.

#include <algorithm>
#include <array>

#include "app/form1.h"

namespace app {

using platform::Menu;

namespace {
// The submenu's items, in the order of kSpeedRungs.
constexpr std::array<Menu, kSpeedRungs.size()> kSpeedItems{
    Menu::ExecSpeed1,   Menu::ExecSpeed2,   Menu::ExecSpeed5,   Menu::ExecSpeed10,
    Menu::ExecSpeed20,  Menu::ExecSpeed50,  Menu::ExecSpeed100, Menu::ExecSpeed200,
    Menu::ExecSpeed500, Menu::ExecSpeed1000, Menu::ExecSpeedMax,
};
}  // namespace

void Form1::SetSpeed(int rate) {
    pacer_.setRate(rate, services_.window.clock());
    const std::size_t rung = *SpeedRungOf(pacer_.rate());
    for (std::size_t i = 0; i < kSpeedItems.size(); ++i) services_.window.setMenuChecked(kSpeedItems[i], i == rung);
    if (services_.settings) services_.settings->writeInt(platform::setting::kSpeed, pacer_.rate());
}

void Form1::mnuExecSpeed_Click(Menu item) {
    const auto* it = std::find(kSpeedItems.begin(), kSpeedItems.end(), item);
    if (it != kSpeedItems.end()) SetSpeed(kSpeedRungs[static_cast<std::size_t>(it - kSpeedItems.begin())]);
}

void Form1::ChangeSpeed(int rungs) {
    const int last = static_cast<int>(kSpeedRungs.size()) - 1;
    const int rung = std::clamp(static_cast<int>(*SpeedRungOf(pacer_.rate())) + rungs, 0, last);
    SetSpeed(kSpeedRungs[static_cast<std::size_t>(rung)]);
}

// A rate that is not on the ladder (a damaged or foreign file) is no limit.
void Form1::LoadSettings() {
    const std::optional<int> rate =
        services_.settings ? services_.settings->readInt(platform::setting::kSpeed) : std::nullopt;
    SetSpeed(rate && SpeedRungOf(*rate) ? *rate : kUnlimitedRate);
    const std::optional<bool> raised =
        services_.settings ? services_.settings->readBool(platform::setting::kRaised) : std::nullopt;
    SetRaisedCells(raised.value_or(true));
}

}  // namespace app
