#pragma once
// The dialog's settings in QSettings, under zmrimage/zmrimage-gui: named
// explicitly, so the place does not depend on how the application was set up.

#include <QSettings>

#include "dialog/settings_store.h"

namespace zmr::gui {

class QtSettingsStore : public dialog::SettingsStore {
public:
    QtSettingsStore() : settings_(QStringLiteral("zmrimage"), QStringLiteral("zmrimage-gui")) {}

    std::optional<std::string> readText(std::string_view name) const override;
    std::optional<bool> readSwitch(std::string_view name) const override;
    void writeText(std::string_view name, std::string_view value) override;
    void writeSwitch(std::string_view name, bool on) override;

private:
    QSettings settings_;
};

}  // namespace zmr::gui
