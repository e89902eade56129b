#pragma once
// The body of a model answer: the open file, sent in large pieces straight
// from the file (a model may be many megabytes; nothing holds it whole in
// memory, and few system calls are spent on each).

#include <unistd.h>

#include <algorithm>
#include <boost/beast/core/error.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/optional.hpp>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <utility>

struct ModelFileBody {
  // An open regular file of known size, closed when the answer goes.
  class value_type {
   public:
    value_type() = default;
    value_type(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    value_type(value_type&& o) noexcept : m_fd(std::exchange(o.m_fd, -1)), m_size(o.m_size) {}
    value_type& operator=(value_type&& o) noexcept {
      std::swap(m_fd, o.m_fd);
      m_size = o.m_size;
      return *this;
    }
    ~value_type() {
      if (m_fd >= 0) {
        ::close(m_fd);
      }
    }
    int Fd() const { return m_fd; }
    std::uint64_t Size() const { return m_size; }

   private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
  };

  static std::uint64_t size(const value_type& body) { return body.Size(); }

  class writer {
   public:
    using const_buffers_type = boost::asio::const_buffer;

    template <bool isRequest, class Fields>
    writer(const boost::beast::http::header<isRequest, Fields>&, const value_type& body) : m_body(body) {}

    void init(boost::beast::error_code& ec) { ec = {}; }

    boost::optional<std::pair<const_buffers_type, bool>> get(boost::beast::error_code& ec) {
      ec = {};
      const std::uint64_t left = m_body.Size() - m_offset;
      if (left == 0) {
        return boost::none;
      }
      if (!m_pBuffer) {
        m_pBuffer = std::make_unique<char[]>(kPiece);
      }
      const ssize_t got =
          ::pread(m_body.Fd(), m_pBuffer.get(), static_cast<std::size_t>(std::min<std::uint64_t>(left, kPiece)),
                  static_cast<off_t>(m_offset));
      if (got <= 0) {
        // A file cut short while it is sent: the answer cannot be whole, so
        // the connection ends rather than send other bytes in its place.
        ec = boost::system::errc::make_error_code(got == 0 ? boost::system::errc::io_error
                                                           : static_cast<boost::system::errc::errc_t>(errno));
        return boost::none;
      }
      m_offset += static_cast<std::uint64_t>(got);
      return {{const_buffers_type(m_pBuffer.get(), static_cast<std::size_t>(got)), m_offset < m_body.Size()}};
    }

   private:
    static constexpr std::size_t kPiece = std::size_t{256} << 10;
    const value_type& m_body;
    std::uint64_t m_offset = 0;
    std::unique_ptr<char[]> m_pBuffer;
  };
};
