#pragma once
// The catalogue: which file answers an id. Only a regular file whose real
// path lies inside the catalogue folder's real path is served; a link that
// leads out of the folder, a folder, a pipe or a device is no model.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "ModelId.h"

// Whether `real` names something strictly inside `folder`, both real
// (canonical) paths. Compared by whole components: /models-old is not
// inside /models.
inline bool LiesInside(const std::filesystem::path& real, const std::filesystem::path& folder) {
  const auto [f, r] = std::mismatch(folder.begin(), folder.end(), real.begin(), real.end());
  return f == folder.end() && r != real.end();
}

// The open file of `id` in the catalogue whose real path is `folder`, or -1.
// The caller owns the descriptor; `size` gets the file's size. An empty file
// is no model either.
inline int OpenModel(const std::filesystem::path& folder, std::string_view id, std::uint64_t* size = nullptr) {
  if (!IsValidModelId(id)) {
    return -1;
  }
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(folder / (std::string(id) + ".obj"), ec);
  if (ec || !LiesInside(real, folder)) {
    return -1;
  }
  // Non-blocking, so that a pipe named like a model cannot hold the opener.
  const int fd = ::open(real.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    return -1;
  }
  // The file actually opened is checked again: a link swapped in after the
  // first look must not lead out of the folder either.
  struct stat st {};
  const std::filesystem::path opened = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 || ec || !LiesInside(opened, folder)) {
    ::close(fd);
    return -1;
  }
  if (size) {
    *size = static_cast<std::uint64_t>(st.st_size);
  }
  return fd;
}
