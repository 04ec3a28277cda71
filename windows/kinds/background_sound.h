// A window's background sound: a wave file kept in memory and played by the
// system's wave player, looping or once. The player's library is loaded
// only when a sound first starts, so the program does not import it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace vorrik {

// The player's entry point: the sound, its module, the SND_ flags.
using PlaySoundRoutine = BOOL(WINAPI*)(LPCSTR sound, HMODULE module, DWORD flags);

class BackgroundSound {
 public:
  BackgroundSound() = default;
  ~BackgroundSound() { Stop(); }
  BackgroundSound(const BackgroundSound&) = delete;
  BackgroundSound& operator=(const BackgroundSound&) = delete;

  // Plays a copy of the block; true when the player took it. A block that is
  // not a wave file the player can read within its bounds plays nothing.
  // Any sound playing before, of this or another window, stops: the system
  // plays one at a time.
  bool Start(std::span<const uint8_t> wave, bool loop);
  // Stops this sound if it is still the one playing.
  void Stop();

 private:
  std::vector<uint8_t> wave_;  // read by the player for as long as it plays
};

// Replaces the system's player while a test runs.
class ScopedSoundPlayer {
 public:
  explicit ScopedSoundPlayer(PlaySoundRoutine player);
  ~ScopedSoundPlayer();
  ScopedSoundPlayer(const ScopedSoundPlayer&) = delete;
  ScopedSoundPlayer& operator=(const ScopedSoundPlayer&) = delete;

 private:
  PlaySoundRoutine previous_;
};

}  // namespace vorrik
