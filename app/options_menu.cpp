#include "app/options_menu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "app/control_ids.h"
#include "app/guarded_slot.h"

namespace zmr::gui {
namespace {

struct EncodingItem {
    TextEncoding encoding;
    const char* text;
    ControlId id;
};

constexpr std::array<EncodingItem, 4> kEncodings = {{
    {TextEncoding::ViqrVni, "VIQR or VNI", kIdTextViqrVni},
    {TextEncoding::Utf8, "UTF-8", kIdTextUtf8},
    {TextEncoding::Cp1258, "Windows-1258", kIdTextCp1258},
    {TextEncoding::Auto, "Automatic (UTF-8 or VIQR/VNI)", kIdTextAuto},
}};

constexpr char kEncodingKey[] = "options/textEncoding";
constexpr char kKarTextKey[] = "options/karText";
constexpr char kLenientKey[] = "options/lenient";

// Named explicitly, so the place does not depend on how the application was set up.
QSettings settings() { return QSettings(QStringLiteral("zmrimage"), QStringLiteral("zmrimage-gui")); }

QAction* checkable(QMenu* menu, const QString& text, ControlId id, const QString& tip) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    action->setToolTip(tip);
    action->setProperty(kControlIdProperty, static_cast<int>(id));
    return action;
}

}  // namespace

OptionsMenu::OptionsMenu(QMenuBar* menuBar) : QObject(menuBar) {
    QMenu* menu = menuBar->addMenu(tr("Options"));
    menu->setToolTipsVisible(true);
    QMenu* encodingMenu = menu->addMenu(tr("Text Encoding"));
    encodingMenu->setToolTipsVisible(true);
    encodingGroup_ = new QActionGroup(this);
    for (size_t i = 0; i < kEncodings.size(); ++i) {
        const EncodingItem& item = kEncodings[i];
        encodings_[i] = checkable(encodingMenu, tr(item.text), item.id,
                                  QStringLiteral("--text-encoding %1").arg(QString::fromLatin1(
                                      textEncodingName(item.encoding).data(),
                                      static_cast<qsizetype>(textEncodingName(item.encoding).size()))));
        encodingGroup_->addAction(encodings_[i]);
    }
    karText_ = checkable(menu, tr("Lyrics from Text Events (.kar)"), kIdKarText,
                         tr("--kar-text: a song without lyric events takes its lyrics from the text events of one track"));
    lenient_ = checkable(menu, tr("Lenient Reading"), kIdLenient,
                         tr("--lenient: also read RIFF MIDI files, chunks other than MTrk and unknown meta events"));
    load();
    for (QAction* action : menu->actions() + encodingMenu->actions()) {
        if (action->isCheckable()) connect(action, &QAction::toggled, this, [this] { runGuarded([this] { save(); }); });
    }
}

ConvertOptions OptionsMenu::options() const {
    ConvertOptions options;
    for (size_t i = 0; i < kEncodings.size(); ++i) {
        if (encodings_[i]->isChecked()) options.textEncoding = kEncodings[i].encoding;
    }
    options.karText = karText_->isChecked();
    options.lenient = lenient_->isChecked();
    return options;
}

void OptionsMenu::load() {
    const QSettings stored = settings();
    const QByteArray name = stored.value(kEncodingKey).toString().toLatin1();
    const TextEncoding encoding =
        parseTextEncoding(std::string_view(name.constData(), static_cast<size_t>(name.size()))).value_or(TextEncoding::ViqrVni);
    for (size_t i = 0; i < kEncodings.size(); ++i) encodings_[i]->setChecked(kEncodings[i].encoding == encoding);
    karText_->setChecked(stored.value(kKarTextKey, false).toBool());
    lenient_->setChecked(stored.value(kLenientKey, false).toBool());
}

void OptionsMenu::save() const {
    QSettings stored = settings();
    const std::string_view name = textEncodingName(options().textEncoding);
    stored.setValue(kEncodingKey, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    stored.setValue(kKarTextKey, karText_->isChecked());
    stored.setValue(kLenientKey, lenient_->isChecked());
}

}  // namespace zmr::gui
