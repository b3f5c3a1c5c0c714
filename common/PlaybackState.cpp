#include "common/PlaybackState.h"

void PlaybackState::setMode(Mode mode) {
    if (mode == m_mode) {
        return;
    }
    m_mode = mode;
    Q_EMIT changed(mode);
}
