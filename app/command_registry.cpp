// SPDX-License-Identifier: MIT
#include "app/command_registry.h"

#include <stdexcept>

namespace app {

platform::Menu CommandRegistry::add(platform::Command look, CommandBehaviour behaviour) {
    if (look.id == platform::Menu::Unassigned) look.id = static_cast<platform::Menu>(nextId_++);
    // Two rows of one identity would be one command in the window but two here.
    if (find(look.id)) throw std::invalid_argument("a command of that identity is registered already");
    rows_.push_back({look, std::move(behaviour)});
    return look.id;
}

const CommandRow* CommandRegistry::find(platform::Menu id) const {
    for (const CommandRow& row : rows_)
        if (row.look.id == id) return &row;
    return nullptr;
}

const CommandRow* CommandRegistry::find(platform::Button button) const {
    if (button == platform::Button::None) return nullptr;
    for (const CommandRow& row : rows_)
        if (row.look.button == button) return &row;
    return nullptr;
}

std::vector<platform::Command> CommandRegistry::looks() const {
    std::vector<platform::Command> out;
    out.reserve(rows_.size());
    for (const CommandRow& row : rows_) {
        out.push_back(row.look);
        if (row.behaviour.help) out.back().description = row.behaviour.help;  // read out by screen readers
    }
    return out;
}

}  // namespace app
