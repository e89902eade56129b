// corvane-model-service: answers the viewer's two model requests with the
// OBJ file of the id from a folder.
//   GET /Wembra/Interface/GetModel.ashx?ModelId=ID    a body model
//   GET /Wembra/Interface/GetGarment.ashx?Id=ID       a garment
// Options: --models DIR (default: the catalogue beside the program, or in
// ../share/corvane/models where the program is installed),
// --port N (default 8470; 0 picks a free port), --bind ADDRESS (default
// 127.0.0.1). Prints "listening on ADDRESS:PORT", then one line per request.
// Stops within moments on SIGINT and SIGTERM, whatever its clients do.
// For the tests, --header-timeout SECONDS shortens the deadline of a
// request's headers and of an idle connection (10 s).

#include <signal.h>

#include <algorithm>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Session.h"

namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

struct Options {
  std::string models, bind = "127.0.0.1";
  int port = 8470;
  double headerTimeout = 10;
};

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    char* end = nullptr;
    if (a == "--models" && more) {
      o.models = argv[++i];
    } else if (a == "--bind" && more) {
      o.bind = argv[++i];
    } else if (a == "--port" && more) {
      const long p = std::strtol(argv[++i], &end, 10);
      if (*end || p < 0 || p > 65535) {
        return false;
      }
      o.port = static_cast<int>(p);
    } else if (a == "--header-timeout" && more) {
      o.headerTimeout = std::strtod(argv[++i], &end);
      if (*end || !(o.headerTimeout > 0 && o.headerTimeout <= 3600)) {
        return false;
      }
    } else {
      return false;
    }
  }
  return true;
}

// Why the port could not be had, in words; empty when it is listened on.
// The port is the service's alone: SO_REUSEADDR only lets it follow its own
// closed connections, and without SO_REUSEPORT a second service is refused.
std::string Listen(asio::io_context& ioc, tcp::acceptor& acceptor, const std::string& address, int port) {
  boost::system::error_code ec;
  tcp::resolver resolver(ioc);
  const auto found =
      resolver.resolve(address, std::to_string(port), tcp::resolver::passive | tcp::resolver::numeric_service, ec);
  if (ec || found.empty()) {
    return "unknown address";
  }
  const tcp::endpoint endpoint = found.begin()->endpoint();
  acceptor.open(endpoint.protocol(), ec);
  if (!ec) {
    acceptor.set_option(asio::socket_base::reuse_address(true), ec);
  }
  if (!ec) {
    acceptor.bind(endpoint, ec);
  }
  if (!ec) {
    acceptor.listen(asio::socket_base::max_listen_connections, ec);
  }
  if (ec == asio::error::address_in_use) {
    return "address in use";
  }
  if (ec == asio::error::access_denied) {
    return "permission denied";
  }
  if (ec == boost::system::errc::address_not_available) {
    return "no such address on this machine";
  }
  std::string why = ec ? ec.message() : std::string();
  if (!why.empty()) {
    why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
  }
  return why;
}

int Serve(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, o)) {
    std::fprintf(stderr, "usage: corvane-model-service [--models DIR] [--port N] [--bind ADDRESS]\n");
    return 2;
  }
  if (o.models.empty()) {
    // Beside the program in a build tree; under share/corvane once installed.
    const std::filesystem::path bin = std::filesystem::canonical("/proc/self/exe").parent_path();
    o.models = (bin / "models").string();
    if (!std::filesystem::is_directory(o.models)) {
      o.models = (bin.parent_path() / "share/corvane/models").string();
    }
  }
  std::error_code missing;
  ServiceSettings settings;
  settings.models = std::filesystem::canonical(o.models, missing);
  if (missing || !std::filesystem::is_directory(settings.models)) {
    std::fprintf(stderr, "corvane-model-service: no folder %s\n", o.models.c_str());
    return 1;
  }
  settings.headerTimeout = std::chrono::milliseconds(std::lround(o.headerTimeout * 1000));

  asio::io_context ioc;
  tcp::acceptor acceptor(ioc);
  const std::string why = Listen(ioc, acceptor, o.bind, o.port);
  if (!why.empty()) {
    std::fprintf(stderr, "cannot listen on %s:%d: %s\n", o.bind.c_str(), o.port, why.c_str());
    return 1;
  }
  // A stop ends every thread's run at once: open connections are dropped
  // where they stand, not waited for.
  asio::signal_set stopSignals(ioc, SIGINT, SIGTERM);
  stopSignals.async_wait([&ioc](const boost::system::error_code&, int) { ioc.stop(); });
  AcceptConnections(ioc, acceptor, settings);
  std::printf("listening on %s:%d\n", o.bind.c_str(), acceptor.local_endpoint().port());
  std::fflush(stdout);

  std::vector<std::thread> workers(std::max(1u, std::thread::hardware_concurrency()) - 1);
  for (std::thread& worker : workers) {
    worker = std::thread([&ioc] { ioc.run(); });
  }
  ioc.run();
  for (std::thread& worker : workers) {
    worker.join();
  }
  std::printf("stopped\n");
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // What the system refuses beyond what Serve checks (threads, sockets)
  // is said and ends the service, never an abort.
  try {
    return Serve(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane-model-service: %s\n", e.what());
    return 1;
  }
}
