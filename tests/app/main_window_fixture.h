#pragma once
// A main window started over a fresh program folder, with scripted player
// windows, for the tests of its parts.

#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "fakes/program_folder.h"
#include "fakes/scripted_players.h"
#include "widgets/picture_label.h"

#include <gtest/gtest.h>
#include <memory>

inline bool Shows(const PictureLabel *image, const PictureLabel *store)
{
    return image->PictureProperty().cacheKey() == store->PictureProperty().cacheKey();
}

class MainWindow : public ::testing::Test
{
protected:
    std::unique_ptr<Reelbox_S> Start()
    {
        shared_ = std::make_unique<Reelbox_B>(folder_.Path());
        players_ = std::make_unique<ScriptedPlayers>(*shared_);
        return std::make_unique<Reelbox_S>(*shared_, *players_);
    }
    void WriteIni(const QByteArray &body) { folder_.Write("Reelbox.ini", "[Section]\r\n" + body); }

    ProgramFolder folder_;
    std::unique_ptr<Reelbox_B> shared_;
    std::unique_ptr<ScriptedPlayers> players_;
};
