#include "widgets/config_values.h"

#include "platform/profile.h"
#include "platform/text_file.h"
#include "widgets/config_format.h"

#include <QFileInfo>

namespace {

// Every key of config.ini, in the order it is read and written, with its member.
struct Key
{
    const char *section;
    const char *key;
    int ConfigValues::*number = nullptr;
    QString ConfigValues::*text = nullptr;
    bool single = false; // written as a single-precision number
    int missing = 0;     // the value of a number whose key is missing
};

const Key kKeys[] = {
    {"directory", "LastDir", nullptr, &ConfigValues::LastDir},
    {"directory", "ImageDir", nullptr, &ConfigValues::ImageDir},
    {"directory", "homeDir", nullptr, &ConfigValues::homeDir},
    {"Position", "Left", &ConfigValues::Left, nullptr, true},
    {"Position", "Top", &ConfigValues::Top, nullptr, true},
    {"Position", "Width", &ConfigValues::Width, nullptr, true},
    {"Position", "Height", &ConfigValues::Height, nullptr, true},
    {"Position", "ListWidth", &ConfigValues::ListWidth, nullptr, true},
    {"volume", "volume", &ConfigValues::volume, nullptr, true},
    {"option", "Resume", &ConfigValues::Resume},
    {"option", "AutoAdjust", &ConfigValues::AutoAdjust},
    {"option", "NoTaskBar", &ConfigValues::NoTaskBar},
    {"option", "AutoListHide", &ConfigValues::AutoListHide},
    {"option", "HidePopup", &ConfigValues::HidePopup},
    {"option", "SeekTop", &ConfigValues::SeekTop},
    {"option", "SeekPreview", &ConfigValues::SeekPreview, nullptr, false, 1},
    {"other", "WindowState", &ConfigValues::WindowState},
    {"other", "PlayMode", &ConfigValues::PlayMode},
    {"other", "SmallMode", &ConfigValues::SmallMode},
    {"other", "ListMode", &ConfigValues::ListMode},
    {"other", "ListVisible", &ConfigValues::ListVisible},
    {"other", "PlaySpeed", &ConfigValues::PlaySpeed},
    {"other", "OriginalSize", &ConfigValues::OriginalSize},
    {"other", "Temae", &ConfigValues::Temae},
    {"other", "upper_clip", &ConfigValues::upper_clip},
    {"other", "under_clip", &ConfigValues::under_clip},
    {"other", "image_path_root", &ConfigValues::image_path_root},
    {"other", "soutai", &ConfigValues::soutai},
    {"other", "load_thumbnail", &ConfigValues::load_thumbnail},
    {"other", "use_homedir", &ConfigValues::use_homedir},
    {"other", "mouse_mode", &ConfigValues::mouse_mode},
};

} // namespace

ConfigValues readConfig(const platform::IniDocument &ini)
{
    ConfigValues c;
    for (const Key &k : kKeys) {
        const auto v = ini.value(QString::fromLatin1(k.section), QString::fromLatin1(k.key));
        if (k.text)
            c.*k.text = platform::truncateToBytes(v.value_or(QString()), 255);
        else
            c.*k.number = v ? platform::parseProfileInt(*v) : k.missing;
    }
    return c;
}

void writeConfig(const ConfigValues &values, platform::IniDocument &ini)
{
    for (const Key &k : kKeys) {
        const QString value = k.text     ? values.*k.text
                              : k.single ? formatSingle(values.*k.number)
                                         : QString::number(values.*k.number);
        ini.setValue(QString::fromLatin1(k.section), QString::fromLatin1(k.key), value);
    }
}

bool saveConfigFile(const ConfigValues &values, const QString &file)
{
    // A file that exists but cannot be read is left alone rather than replaced by one
    // that has lost the lines it held besides these keys.
    const auto lines = platform::readTextLines(file);
    if (!lines && QFileInfo::exists(file))
        return false;
    platform::IniDocument ini(lines ? *lines : QStringList());
    writeConfig(values, ini);
    return platform::writeTextLines(file, ini.lines());
}
