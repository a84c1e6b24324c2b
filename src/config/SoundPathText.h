#pragma once

#include <QString>

// The text the settings window shows for the selected sound file: the whole path while it is shorter
// than 63 characters, else " .." and its last 63 characters.
QString SoundPathText(const QString& path);
