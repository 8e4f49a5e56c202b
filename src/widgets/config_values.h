#pragma once
// config.ini: the window geometry, the options and the playback modes, as one value read
// at start-up and written at shutdown. The keys are read and written in this order.

#include <QString>

namespace platform {
class IniDocument;
}

struct ConfigValues
{
    // [directory]
    QString LastDir, ImageDir, homeDir;
    // [Position], twips
    int Left = 0, Top = 0, Width = 0, Height = 0, ListWidth = 0;
    // [volume]
    int volume = 0;
    // [option]
    int Resume = 0, AutoAdjust = 0, NoTaskBar = 0, AutoListHide = 0, HidePopup = 0, SeekTop = 0;
    // The seek bar's preview; on when the key is missing (a file written before it existed).
    int SeekPreview = 1;
    // [other]
    int WindowState = 0, PlayMode = 0, SmallMode = 0, ListMode = 0, ListVisible = 0, PlaySpeed = 0;
    int OriginalSize = 0, Temae = 0, upper_clip = 0, under_clip = 0, image_path_root = 0, soutai = 0;
    int load_thumbnail = 0, use_homedir = 0, mouse_mode = 0;

    bool operator==(const ConfigValues &o) const = default;
};

// The values of a config.ini. A missing key reads as 0 (or "", and SeekPreview as 1); a
// string is cut to 255 bytes; an integer is 32-bit (a window on a second monitor lies beyond
// 32767 twips).
ConfigValues readConfig(const platform::IniDocument &ini);

// Writes every key into the document, keeping its other lines. Geometry and the volume are
// written as the settings file holds single-precision numbers.
void writeConfig(const ConfigValues &values, platform::IniDocument &ini);

// Reads config.ini, writes every key into it and replaces the file once. False when the
// file cannot be written (the old one then stays), or exists but cannot be read.
bool saveConfigFile(const ConfigValues &values, const QString &file);
