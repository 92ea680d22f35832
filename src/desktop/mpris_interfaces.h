#pragma once
// The two MPRIS interfaces on the bus, org.mpris.MediaPlayer2 and
// org.mpris.MediaPlayer2.Player, answered by an MprisPlayer.

class MprisPlayer;
class QObject;

// Adds both interfaces to player; returns the Player interface's adaptor,
// whose properties (by their bus names) are what PropertiesChanged tells.
QObject *AddMprisInterfaces(MprisPlayer *player);
