#pragma once
// The service's connections: accepted on one listening socket and served,
// each by its own asynchronous session, by however many threads run the
// io_context. Nothing waits on a client, so slow clients hold no thread.

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <filesystem>

struct ServiceSettings {
  std::filesystem::path models;  // the catalogue folder's real path
  // From the end of one answer (or the connection's start) to the end of the
  // next request's headers: an idle connection and a slow request both end
  // there, whatever the client trickles.
  std::chrono::milliseconds headerTimeout{10000};
};

// Accepts connections on `acceptor` until the io_context stops. `settings`
// and `acceptor` outlive the io_context's run.
void AcceptConnections(boost::asio::io_context& ioc, boost::asio::ip::tcp::acceptor& acceptor,
                       const ServiceSettings& settings);
