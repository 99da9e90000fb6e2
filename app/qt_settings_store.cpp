#include "app/qt_settings_store.h"

namespace zmr::gui {
namespace {

QString key(std::string_view name) { return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())); }

}  // namespace

std::optional<std::string> QtSettingsStore::readText(std::string_view name) const {
    const QVariant value = settings_.value(key(name));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

std::optional<bool> QtSettingsStore::readSwitch(std::string_view name) const {
    const QVariant value = settings_.value(key(name));
    if (!value.isValid()) return std::nullopt;
    return value.toBool();
}

void QtSettingsStore::writeText(std::string_view name, std::string_view value) {
    settings_.setValue(key(name), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::writeSwitch(std::string_view name, bool on) { settings_.setValue(key(name), on); }

}  // namespace zmr::gui
