#include "html/line_writer.h"

#include <algorithm>
#include <array>

namespace rptconv {

namespace {

// The entity for each byte that must not reach the page raw, else empty.
constexpr std::array<std::string_view, 256> MakeEntities() {
  std::array<std::string_view, 256> entities{};
  entities[static_cast<unsigned char>('&')] = "&amp;";
  entities[static_cast<unsigned char>('<')] = "&lt;";
  entities[static_cast<unsigned char>('>')] = "&gt;";
  entities[static_cast<unsigned char>('"')] = "&quot;";
  return entities;
}
constexpr std::array<std::string_view, 256> kEntities = MakeEntities();

}  // namespace

LineWriter::LineWriter(ByteSink& sink, std::size_t buffer_size)
    : sink_(sink), flush_at_(std::max<std::size_t>(buffer_size, 1)) {
  buffer_.reserve(flush_at_ + 1024);
}

LineWriter& LineWriter::Text(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view entity = kEntities[static_cast<unsigned char>(text[i])];
    if (entity.empty()) continue;
    Raw(text.substr(start, i - start));
    Raw(entity);
    start = i + 1;
  }
  return Raw(text.substr(start));
}

LineWriter& LineWriter::Overflow(std::string_view bytes) {
  Flush();
  if (bytes.size() > buffer_.capacity()) {
    sink_.Write(bytes);
  } else {
    buffer_.append(bytes);
  }
  return *this;
}

void LineWriter::Flush() {
  if (buffer_.empty()) return;
  sink_.Write(buffer_);
  buffer_.clear();
}

}  // namespace rptconv
