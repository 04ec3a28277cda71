#include "windows/kinds/background_sound.h"

#include <mmsystem.h>

#include <string>

#include "windows/kinds/wave_file.h"

namespace vorrik {
namespace {

// A library of the system directory, loaded for this object's lifetime.
class SystemLibrary {
 public:
  explicit SystemLibrary(const char* name) {
    // By full path: a file of the same name in the run directory is not ours.
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    module_ = LoadLibraryA((std::string(directory, length) + "\\" + name).c_str());
  }
  ~SystemLibrary() {
    if (module_) FreeLibrary(module_);
  }
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;
  FARPROC Find(const char* routine) const { return module_ ? GetProcAddress(module_, routine) : nullptr; }

 private:
  HMODULE module_ = nullptr;
};

// The multimedia library with its player, kept from the first sound to the
// end of the program; anything still playing then is stopped before the
// library goes.
class WavePlayer {
 public:
  WavePlayer() : library_("winmm.dll"), play_(reinterpret_cast<PlaySoundRoutine>(reinterpret_cast<void (*)()>(library_.Find("PlaySoundA")))) {}
  ~WavePlayer() {
    if (play_) play_(nullptr, nullptr, 0);
  }
  WavePlayer(const WavePlayer&) = delete;
  WavePlayer& operator=(const WavePlayer&) = delete;
  PlaySoundRoutine Routine() const { return play_; }

 private:
  SystemLibrary library_;
  PlaySoundRoutine play_;
};

PlaySoundRoutine g_testPlayer = nullptr;
const BackgroundSound* g_playing = nullptr;  // whose bytes the player is reading

PlaySoundRoutine Player() {
  if (g_testPlayer) return g_testPlayer;
  static const WavePlayer player;
  return player.Routine();
}

}  // namespace

bool BackgroundSound::Start(std::span<const uint8_t> wave, bool loop) {
  Stop();
  if (!IsPlayableWave(wave)) return false;
  PlaySoundRoutine play = Player();
  if (!play) return false;
  wave_.assign(wave.begin(), wave.end());
  // No default sound in place of one that cannot play; the player stops any
  // other sound first, so no other window's bytes are read after this.
  const DWORD flags = SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (loop ? SND_LOOP : 0);
  if (!play(reinterpret_cast<LPCSTR>(wave_.data()), nullptr, flags)) {
    wave_.clear();
    return false;
  }
  g_playing = this;
  return true;
}

void BackgroundSound::Stop() {
  if (g_playing == this) {
    // Returns once the player has let go of the bytes.
    if (PlaySoundRoutine play = Player()) play(nullptr, nullptr, 0);
    g_playing = nullptr;
  }
  wave_.clear();
}

ScopedSoundPlayer::ScopedSoundPlayer(PlaySoundRoutine player) : previous_(g_testPlayer) { g_testPlayer = player; }
ScopedSoundPlayer::~ScopedSoundPlayer() { g_testPlayer = previous_; }

}  // namespace vorrik
