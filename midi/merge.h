// The sixteen voice lists merged into the one list that playback walks.
#pragma once

// Rebuilds the PlaybackList from the active voices: every Event once, in the
// order in which it sounds, lowest voice first within a tick, each delta
// counted from the previous tick that has Events. The voice lists keep their
// deltas; only their working deltas change. False when an Event could not be
// allocated: the PlaybackList is then left empty rather than half merged.
bool MergeVoiceLists();
