// corvane-model-service: answers the viewer's two model requests with the
// OBJ file of the id from a folder.
//   GET /Wembra/Interface/GetModel.ashx?ModelId=ID    a body model
//   GET /Wembra/Interface/GetGarment.ashx?Id=ID       a garment
// Options: --models DIR (default: the catalogue beside the program, or in
// ../share/corvane/models where the program is installed),
// --port N (default 8470; 0 picks a free port), --bind ADDRESS (default
// 127.0.0.1). Prints "listening on ADDRESS:PORT", then one line per request.
// Stops cleanly on SIGINT and SIGTERM.

#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ModelId.h"

namespace {

struct Options {
  std::string models, bind = "127.0.0.1";
  int port = 8470;
};

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--models" && more)
      o.models = argv[++i];
    else if (a == "--bind" && more)
      o.bind = argv[++i];
    else if (a == "--port" && more) {
      char* end = nullptr;
      const long p = std::strtol(argv[++i], &end, 10);
      if (*end || p < 0 || p > 65535) return false;
      o.port = static_cast<int>(p);
    } else {
      return false;
    }
  }
  return true;
}

std::mutex g_log;
void Log(const httplib::Request& req, int status, std::size_t bytes) {
  std::lock_guard<std::mutex> lock(g_log);
  std::printf("%s %s%s%s %d %zu\n", req.remote_addr.c_str(), req.path.c_str(), req.params.empty() ? "" : "?",
              req.params.empty() ? "" : (req.params.begin()->first + "=" + req.params.begin()->second).c_str(), status,
              bytes);
  std::fflush(stdout);
}

// The handler of one request path: the file of the id in `key`, streamed
// from the file in pieces (a model may be many megabytes; nothing holds it
// whole in memory).
httplib::Server::Handler Serve(const std::filesystem::path& folder, const char* key) {
  return [folder, key](const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.has_param(key) ? req.get_param_value(key) : std::string();
    std::error_code ec;
    const std::filesystem::path path = folder / (id + ".obj");
    const std::uintmax_t size =
        IsValidModelId(id) && std::filesystem::is_regular_file(path, ec) ? std::filesystem::file_size(path, ec) : 0;
    auto file = size && !ec ? std::make_shared<std::ifstream>(path, std::ios::binary) : nullptr;
    if (!file || !*file) {
      res.status = 404;
      res.set_content("no model of that id\n", "text/plain");
      Log(req, res.status, 0);
      return;
    }
    res.status = 200;
    res.set_content_provider(static_cast<std::size_t>(size), "model/obj",  // Content-Length: the file's size
                             [file](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                               std::vector<char> buffer(std::min<std::size_t>(length, std::size_t{1} << 20));
                               file->seekg(static_cast<std::streamoff>(offset));
                               file->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                               const std::streamsize got = file->gcount();
                               return got > 0 && sink.write(buffer.data(), static_cast<std::size_t>(got));
                             });
    Log(req, res.status, static_cast<std::size_t>(size));
  };
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, o)) {
    std::fprintf(stderr, "usage: corvane-model-service [--models DIR] [--port N] [--bind ADDRESS]\n");
    return 2;
  }
  if (o.models.empty()) {
    // Beside the program in a build tree; under share/corvane once installed.
    const std::filesystem::path bin = std::filesystem::canonical("/proc/self/exe").parent_path();
    o.models = (bin / "models").string();
    if (!std::filesystem::is_directory(o.models)) o.models = (bin.parent_path() / "share/corvane/models").string();
  }
  if (!std::filesystem::is_directory(o.models)) {
    std::fprintf(stderr, "corvane-model-service: no folder %s\n", o.models.c_str());
    return 1;
  }
  // The signals are taken by a thread of their own, which stops the server;
  // every other thread has them blocked.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(4); };
  server.Get("/Wembra/Interface/GetModel.ashx", Serve(o.models, "ModelId"));
  server.Get("/Wembra/Interface/GetGarment.ashx", Serve(o.models, "Id"));
  const int port = o.port == 0 ? server.bind_to_any_port(o.bind) : (server.bind_to_port(o.bind, o.port) ? o.port : -1);
  if (port < 0) {
    std::fprintf(stderr, "corvane-model-service: cannot listen on %s:%d\n", o.bind.c_str(), o.port);
    return 1;
  }
  std::printf("listening on %s:%d\n", o.bind.c_str(), port);
  std::fflush(stdout);
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });
  server.listen_after_bind();
  // However the server ended, the stopper ends too (its own signal wakes it
  // if no other did).
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  std::printf("stopped\n");
  return 0;
}
