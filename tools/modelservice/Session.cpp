#include "Session.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "Catalogue.h"
#include "ModelFileBody.h"
#include "RequestText.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

constexpr std::string_view kModelPath = "/Wembra/Interface/GetModel.ashx";
constexpr std::string_view kGarmentPath = "/Wembra/Interface/GetGarment.ashx";
constexpr std::uint32_t kHeaderLimit = 8192;
// A whole answer must be on its way within this; a client that reads
// nothing is let go then.
constexpr std::chrono::seconds kWriteTimeout{60};

std::mutex g_log;
void Log(const std::string& remote, const std::string& what, unsigned status, std::uint64_t bytes) {
  std::lock_guard<std::mutex> lock(g_log);
  std::printf("%s %s %u %llu\n", remote.c_str(), what.c_str(), status, static_cast<unsigned long long>(bytes));
  std::fflush(stdout);
}

class CSession : public std::enable_shared_from_this<CSession> {
 public:
  CSession(tcp::socket&& socket, const ServiceSettings& settings) : m_stream(std::move(socket)), m_settings(settings) {
    beast::error_code ec;
    const tcp::endpoint remote = m_stream.socket().remote_endpoint(ec);
    m_strRemote = ec ? "-" : remote.address().to_string();
  }

  void Start() {
    asio::dispatch(m_stream.get_executor(), beast::bind_front_handler(&CSession::Read, shared_from_this()));
  }

 private:
  void Read() {
    m_parser.emplace();
    m_parser->header_limit(kHeaderLimit);
    m_stream.expires_after(m_settings.headerTimeout);
    http::async_read(m_stream, m_buffer, *m_parser, beast::bind_front_handler(&CSession::OnRead, shared_from_this()));
  }

  void OnRead(beast::error_code ec, std::size_t) {
    // A deadline passed, the client went, or it sent no HTTP: the connection
    // ends (the last with a 400, which it may still read).
    if (ec == http::error::end_of_stream || ec == http::error::partial_message || ec == beast::error::timeout) {
      return Close();
    }
    if (ec && ec.category() != http::make_error_code(http::error::bad_method).category()) {
      return Close();
    }
    if (ec) {
      return Answer(http::status::bad_request, "bad request\n", false, "");
    }
    Answer(m_parser->release());
  }

  void Answer(const http::request<http::empty_body>& req) {
    m_bHead = req.method() == http::verb::head;
    const std::string_view target(req.target().data(), req.target().size());
    const std::size_t mark = target.find('?');
    const std::string_view path = target.substr(0, mark);
    const std::string_view query = mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
    const char* key = path == kModelPath ? "ModelId" : path == kGarmentPath ? "Id" : nullptr;
    const std::optional<std::string> id = key ? QueryValue(query, key) : std::nullopt;
    // Only the service's two paths are logged, with the id served.
    const std::string logged =
        key ? EscapedForLog(path) + (id ? std::string("?") + key + "=" + EscapedForLog(*id) : "") : std::string();
    // A request of this service has no body. A Transfer-Encoding other than
    // chunked leaves its length unknown (HTTP/1.1 asks for a 400 and the
    // connection's end), and whatever follows must not be read as a second
    // request.
    if (req.find(http::field::transfer_encoding) != req.end()) {
      return Answer(http::status::bad_request, "bad request\n", false, logged);
    }
    if (req.method() != http::verb::get && !m_bHead) {
      return Answer(http::status::method_not_allowed, "only GET and HEAD\n", req.keep_alive(), logged);
    }
    std::uint64_t size = 0;
    const int fd = id ? OpenModel(m_settings.models, *id, &size) : -1;
    if (fd < 0) {
      return Answer(http::status::not_found, "no model of that id\n", req.keep_alive(), logged);
    }

    http::response<ModelFileBody> res;
    res.result(http::status::ok);
    res.version(req.version());
    res.body() = ModelFileBody::value_type(fd, size);
    res.set(http::field::content_type, "model/obj");
    res.keep_alive(req.keep_alive());
    res.prepare_payload();
    Log(m_strRemote, logged, 200, res.body().Size());
    Send(std::move(res));
  }

  void Answer(http::status status, const char* text, bool keepAlive, const std::string& logged) {
    http::response<http::string_body> res{status, 11, text};
    res.set(http::field::content_type, "text/plain");
    if (status == http::status::method_not_allowed) {
      res.set(http::field::allow, "GET, HEAD");
    }
    res.keep_alive(keepAlive);
    res.prepare_payload();
    if (!logged.empty()) {
      Log(m_strRemote, logged, static_cast<unsigned>(status), 0);
    }
    Send(std::move(res));
  }

  template <class Body>
  void Send(http::response<Body>&& res) {
    if (m_bHead) {
      // The same header, Content-Length included, and no body.
      m_bHead = false;
      return Send(http::response<http::empty_body>(std::move(res.base())));
    }
    auto sent = std::make_shared<http::response<Body>>(std::move(res));
    m_pResponse = sent;
    m_stream.expires_after(kWriteTimeout);
    http::async_write(m_stream, *sent,
                      beast::bind_front_handler(&CSession::OnWrite, shared_from_this(), sent->need_eof()));
  }

  void OnWrite(bool close, beast::error_code ec, std::size_t) {
    m_pResponse.reset();
    if (ec || close) {
      return Close();
    }
    Read();
  }

  void Close() {
    beast::error_code ec;
    m_stream.socket().shutdown(tcp::socket::shutdown_send, ec);
    m_stream.close();
  }

  beast::tcp_stream m_stream;
  const ServiceSettings& m_settings;
  std::string m_strRemote;
  beast::flat_buffer m_buffer;
  std::optional<http::request_parser<http::empty_body>> m_parser;
  std::shared_ptr<void> m_pResponse;  // the answer being written
  bool m_bHead = false;
};

class CListener : public std::enable_shared_from_this<CListener> {
 public:
  CListener(asio::io_context& ioc, tcp::acceptor& acceptor, const ServiceSettings& settings)
      : m_ioc(ioc), m_acceptor(acceptor), m_settings(settings), m_retry(ioc) {}

  void Accept() {
    m_acceptor.async_accept(asio::make_strand(m_ioc),
                            beast::bind_front_handler(&CListener::OnAccept, shared_from_this()));
  }

 private:
  void OnAccept(beast::error_code ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted) {
      return;
    }
    if (!ec) {
      std::make_shared<CSession>(std::move(socket), m_settings)->Start();
      return Accept();
    }
    // Out of descriptors, say: try again shortly rather than spin; the
    // deadlines free descriptors meanwhile.
    m_retry.expires_after(std::chrono::milliseconds(100));
    m_retry.async_wait([self = shared_from_this()](beast::error_code waited) {
      if (!waited) {
        self->Accept();
      }
    });
  }

  asio::io_context& m_ioc;
  tcp::acceptor& m_acceptor;
  const ServiceSettings& m_settings;
  asio::steady_timer m_retry;
};

}  // namespace

void AcceptConnections(asio::io_context& ioc, tcp::acceptor& acceptor, const ServiceSettings& settings) {
  std::make_shared<CListener>(ioc, acceptor, settings)->Accept();
}
