// What the engine keeps of an attached skin. The caller frees the skin's
// bytes right after attaching, so everything drawing needs is copied here:
// colours and metrics by value, images and texts into one heap block.
#pragma once
#include <windows.h>

#include <cstdint>

#include "skinengine/skin_engine.h"
#include "skinengine/skin_format.h"

namespace vorrik::engine {

// One block of the process heap, freed with its owner.
class HeapBlock {
 public:
  HeapBlock() = default;
  ~HeapBlock() { Reset(); }
  HeapBlock(const HeapBlock&) = delete;
  HeapBlock& operator=(const HeapBlock&) = delete;

  bool Allocate(size_t size);
  void Reset();
  uint8_t* get() const { return data_; }

 private:
  uint8_t* data_ = nullptr;
};

struct KeptImage {
  uint32_t format = 0, width = 0, height = 0;
  const uint8_t* pixels = nullptr;
};

class KeptSkin {
 public:
  // Takes a copy of the read skin and the attach arguments; false, with
  // nothing kept, when the heap refuses the copy.
  bool Keep(const skin::SkinView& view, const char* excludedClasses, uint32_t flags);
  void Clear();

  bool attached() const { return attached_; }
  uint32_t Colour(uint32_t entry) const;
  int32_t Metric(uint32_t metric) const;
  const KeptImage* Image(uint32_t role) const;
  const char* excludedClasses() const { return excludedClasses_; }
  uint32_t flags() const { return flags_; }

 private:
  bool attached_ = false;
  uint32_t colours_[skin::kColourCount] = {};
  int32_t metrics_[skin::kMetricCount] = {};
  KeptImage images_[skin::kImageRoleLimit] = {};
  const char* excludedClasses_ = "";
  uint32_t flags_ = 0;
  HeapBlock storage_;
};

}  // namespace vorrik::engine
