#include "app/SettingsFile.h"

bool LoadSettings(const QString&, Settings&) {
    return false;
}

bool SaveSettings(const QString&, const Settings&) {
    return false;
}

QString settingsFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Tunara.ini");
}
