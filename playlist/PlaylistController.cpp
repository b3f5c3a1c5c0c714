#include "playlist/PlaylistController.h"

PlaylistController::PlaylistController(const MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {}

void PlaylistController::KnopR_Click(int) {}
void PlaylistController::savePlaylistCommand() {}
void PlaylistController::showLoadform() {}
