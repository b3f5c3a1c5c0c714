#pragma once

#include "app/Settings.h"

#include <QString>

// Reads Tunara.ini into `settings`. Returns false when the file is missing, unreadable or ends
// before the sixteenth field; the fields read before the failure keep the values read.
bool LoadSettings(const QString& filePath, Settings& settings);

// Writes all eight lines, replacing the file atomically. Returns false when it cannot be written.
bool SaveSettings(const QString& filePath, const Settings& settings);

// The settings file's path in a program folder: "<folder>/Tunara.ini".
QString settingsFilePath(const QString& programFolder);
