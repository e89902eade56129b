// The hand-over of a model from a loading thread to a drawing thread,
// without any Qt GUI class, so that ThreadSanitizer can check it: one thread
// loads and publishes while another polls the slot and walks the model.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "ModelOBJ.h"
#include "ModelSlot.h"

namespace {
// A grid model in a file of its own under the temporary folder, removed
// when the test ends.
struct GridFile {
  std::string path;
  ~GridFile() {
    if (!path.empty()) {
      std::remove(path.c_str());
    }
  }
};

std::string WriteGrid(int n) {
  std::string path = (std::filesystem::temp_directory_path() / "corvane-handover-XXXXXX").string();
  const int fd = mkstemp(path.data());
  if (fd < 0) {
    return {};
  }
  FILE* f = fdopen(fd, "w");
  for (int y = 0; y <= n; ++y) {
    for (int x = 0; x <= n; ++x) {
      std::fprintf(f, "v %d %d 0\n", x, y);
    }
  }
  std::fprintf(f, "g TRUNK\n");
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const int a = y * (n + 1) + x + 1;
      std::fprintf(f, "f %d %d %d %d\n", a, a + 1, a + n + 2, a + n + 1);
    }
  }
  std::fclose(f);
  return path;
}
}  // namespace

TEST(Handover, ReaderSeesOnlyAFullyLoadedModel) {
  const GridFile grid{WriteGrid(120)};
  const std::string& path = grid.path;
  ASSERT_FALSE(path.empty());
  for (int round = 0; round < 5; ++round) {
    CModelSlot<CModelOBJ> slot;
    std::atomic<bool> loaded{false};
    std::size_t walked = 0;
    std::thread reader([&] {
      // The drawing side: poll, and walk whatever is published.
      for (;;) {
        if (CModelOBJ* model = slot.Get()) {
          const ObjModel* m = model->Model();
          ASSERT_NE(m, nullptr);
          for (const ObjTriangle& t : m->triangles) {
            for (const auto n : t.normalIndex) {
              walked += m->normals[std::size_t{3} * n + 2] > 0.5f;
            }
          }
          return;
        }
        if (loaded.load(std::memory_order_acquire) && !slot.Get()) {
          return;
        }
        std::this_thread::yield();
      }
    });
    {
      CBackgroundJob job;
      job.Start([&] {
        auto model = std::make_unique<CModelOBJ>();
        const bool ok = model->Load(path.c_str(), kCreaseAngle);
        slot.Publish(std::move(model));
        loaded.store(ok, std::memory_order_release);
      });
    }  // joined here
    reader.join();
    EXPECT_TRUE(loaded.load());
    EXPECT_EQ(walked, 120u * 120u * 2u * 3u) << "every corner has its normal";
    EXPECT_FALSE(slot.Publish(std::make_unique<CModelOBJ>())) << "a slot is filled once";
  }
  std::remove(path.c_str());
}
