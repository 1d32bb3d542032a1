#include "convert/metrics_pass.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "bdf/glyph_section.h"
#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "convert/helper_thread.h"
#include "convert/wrap_add.h"

namespace {

// The metrics record a glyph gives its code.
MetricRecord metricRecordOf(const GlyphRecord& glyph) {
  MetricRecord record;
  record.width = static_cast<int16_t>(glyph.width);
  record.height = static_cast<int16_t>(glyph.height);
  record.ascent = wrapAdd(glyph.height, glyph.y_offset);
  record.x_offset = glyph.x_offset;
  record.advance = glyph.advance;
  return record;
}

// Stretches are taken in turn by the threads: a thread that starts late, or
// a core busy with something else, leaves more of them to the others.
constexpr size_t kMostStretches = 16;

// Clears the pixels of each decoded row beyond the glyph's width, as its
// image has them.
void clearBeyondWidth(const GlyphRecord& glyph, uint8_t* rows) {
  if (glyph.width % 8 == 0) return;
  const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - glyph.width % 8));
  const size_t row_bytes = static_cast<size_t>(glyph.row_bytes);
  uint8_t* const end = rows + static_cast<size_t>(glyph.height) * row_bytes;
  for (uint8_t* last = rows + row_bytes - 1; last < end; last += row_bytes) *last &= mask;
}

// Where the stretches of [start, text.size()) begin: `start`, then for each
// further one the line after the first line beginning with ENDCHAR from its
// share of the text on (a long record may leave a stretch empty). Fewer
// when the text runs out of such lines.
std::vector<size_t> stretchStarts(std::string_view text, size_t start, size_t stretches) {
  std::vector<size_t> starts{start};
  const size_t size = text.size() - start;
  for (size_t k = 1; k < stretches; ++k) {
    const size_t from = start + size / stretches * k;
    const size_t endchar = text.find("\nENDCHAR", from);
    const size_t feed = endchar == std::string_view::npos ? endchar : text.find('\n', endchar + 1);
    if (feed == std::string_view::npos) break;
    starts.push_back(feed + 1);
  }
  return starts;
}

// Reads one stretch, from `start` to `stop` (kNoStop for the last), into
// `list`, reporting nothing: true when it read without a problem and ended
// where it must.
bool readStretch(std::string_view text, size_t start, size_t stop, const ReadingStrategy& strategy, GlyphList* list) {
  LineReader reader(text);
  reader.rewind(start);
  BdfReport quiet(nullptr, nullptr, false);
  GlyphRecordsReading how;
  how.usual_heads = strategy.usual_heads;
  how.stop = stop;
  try {
    const GlyphsEnd end = readGlyphRecords(reader, quiet, how, [&](const GlyphRecord& glyph) {
      list->add(text, glyph, strategy.keep_rows);
      return true;
    });
    return quiet.errors() == 0 && end == (stop == kNoStop ? GlyphsEnd::kEndFont : GlyphsEnd::kStop);
  } catch (const std::bad_alloc&) {
    return false;   // the read in one stretch has its own chance
  }
}

// The stretches of one glyph section, handed out one at a time to the
// threads that read them, so that a thread the system starts late takes
// fewer.
class StretchQueue {
 public:
  StretchQueue(std::string_view text, std::vector<size_t> starts, const ReadingStrategy& strategy,
               std::vector<GlyphList>* lists)
      : text_(text), starts_(std::move(starts)), strategy_(strategy), lists_(*lists), read_(starts_.size()) {
    // Every list's room is taken here, so that the threads only fill it.
    lists_.resize(starts_.size());
    for (size_t k = 0; k < starts_.size(); ++k) {
      lists_[k].clear((stopOf(k) == kNoStop ? text_.size() : stopOf(k)) - starts_[k]);
    }
  }

  // Reads stretches until none is left.
  void work() {
    for (size_t k; (k = next_.fetch_add(1)) < starts_.size();) {
      read_[k] = readStretch(text_, starts_[k], stopOf(k), strategy_, &lists_[k]);
    }
  }
  // True when every stretch was read as it must be.
  bool allRead() const { return std::all_of(read_.begin(), read_.end(), [](char read) { return read != 0; }); }

 private:
  size_t stopOf(size_t k) const { return k + 1 < starts_.size() ? starts_[k + 1] : kNoStop; }

  std::string_view text_;
  std::vector<size_t> starts_;
  const ReadingStrategy& strategy_;
  std::vector<GlyphList>& lists_;
  std::vector<char> read_;
  std::atomic<size_t> next_{0};
};

// A thread that runs queue.work().
class StretchThread {
 public:
  explicit StretchThread(StretchQueue& queue) : queue_(queue) { started_ = startHelperThread(&thread_, run, this); }
  StretchThread(const StretchThread&) = delete;
  StretchThread& operator=(const StretchThread&) = delete;
  ~StretchThread() {
    if (started_) pthread_join(thread_, nullptr);
  }

 private:
  static void* run(void* self) {
    static_cast<StretchThread*>(self)->queue_.work();
    return nullptr;
  }

  StretchQueue& queue_;
  pthread_t thread_{};
  bool started_ = false;
};

// Runs queue.work() on `threads` threads, this one among them, or on fewer
// when the system gives no more.
void workOnThreads(StretchQueue& queue, size_t threads) {
  std::vector<std::unique_ptr<StretchThread>> others;
  while (others.size() + 1 < threads) others.push_back(std::make_unique<StretchThread>(queue));
  queue.work();
}

}  // namespace

void GlyphList::clear(size_t bytes) {
  places_.clear();
  rows_size_ = 0;
  // Room for what the glyph sections of real fonts hold: a record of some
  // 150 bytes, a fifth of them rows. It is only taken, not touched; without
  // it, or beyond it, the list grows as it fills.
  try {
    places_.reserve(bytes / 128);
    reserveRows(bytes / 4);
  } catch (const std::bad_alloc&) {
  }
}

void GlyphList::reserveRows(size_t more) {
  const size_t wanted = rows_size_ + more + kRowSpill;
  if (wanted <= rows_room_) return;
  const size_t room = std::max(wanted, 2 * rows_room_);
  std::unique_ptr<uint8_t[]> grown(new uint8_t[room]);
  if (rows_size_ > 0) memcpy(grown.get(), rows_.get(), rows_size_);
  rows_ = std::move(grown);
  rows_room_ = room;
}

void GlyphList::add(std::string_view text, const GlyphRecord& glyph, bool keep_rows) {
  const bool kept = glyph.rows_in_block && keep_rows;
  GlyphPlace place{static_cast<uint32_t>(glyph.rows_start), 0, glyph.code, kept, metricRecordOf(glyph)};
  if (kept) {
    const size_t size = static_cast<size_t>(glyph.height) * static_cast<size_t>(glyph.row_bytes);
    reserveRows(size);
    place.rows_at = static_cast<uint32_t>(rows_size_);
    decodeRowsInBlock(text, glyph, rows_.get() + rows_size_);
    clearBeyondWidth(glyph, rows_.get() + rows_size_);
    rows_size_ += size;
  }
  places_.push_back(place);
}

bool readGlyphsInStretches(std::string_view text, size_t start, const ReadingStrategy& strategy,
                           std::vector<GlyphList>* lists) {
  const size_t most = std::min((text.size() - start) / std::max<size_t>(strategy.stretch_bytes, 1), kMostStretches);
  if (most < 2) return false;
  const size_t threads = static_cast<size_t>(strategy.threads > 0 ? strategy.threads : usableCores());
  if (threads < 2) return false;
  StretchQueue queue(text, stretchStarts(text, start, most), strategy, lists);
  workOnThreads(queue, std::min(threads, lists->size()));
  return lists->size() > 1 && queue.allRead();
}
