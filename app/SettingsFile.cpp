#include "app/SettingsFile.h"

bool LoadSettings(const QString&, Settings&) {
    return false;
}

bool SaveSettings(const QString&, const Settings&) {
    return false;
}
