#include "platform/movie.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/files.h"
#include "platform/sound_stream.h"
#include "platform/time.h"

namespace plat {
namespace {

constexpr int kMaxTargetSide = 4096;
constexpr int kQueueSeconds = 4;  // sound kept when nothing plays it (no device)

// Decoded sound waiting for the mixer: filled by Update, drained by the mixer.
class SoundQueue : public StreamSource {
 public:
  SoundQueue(int channels, size_t capacityFrames)
      : channels_(static_cast<size_t>(channels)), capacity_(capacityFrames * channels_) {}
  size_t Read(int16_t* out, size_t frames) override {
    std::lock_guard lock(mutex_);
    size_t n = std::min(frames, samples_.size() / channels_);
    std::copy_n(samples_.begin(), n * channels_, out);
    samples_.erase(samples_.begin(), samples_.begin() + static_cast<ptrdiff_t>(n * channels_));
    return n;
  }
  void Push(const int16_t* samples, size_t frames) {
    std::lock_guard lock(mutex_);
    samples_.insert(samples_.end(), samples, samples + frames * channels_);
    if (samples_.size() > capacity_)
      samples_.erase(samples_.begin(), samples_.begin() + static_cast<ptrdiff_t>(samples_.size() - capacity_));
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    samples_.clear();
  }

 private:
  std::mutex mutex_;
  const size_t channels_;
  const size_t capacity_;  // samples
  std::deque<int16_t> samples_;
};

AVCodecContext* OpenDecoder(const AVStream* stream, const AVCodec* codec) {
  if (!codec) return nullptr;
  AVCodecContext* ctx = avcodec_alloc_context3(codec);
  if (!ctx) return nullptr;
  if (avcodec_parameters_to_context(ctx, stream->codecpar) < 0 || avcodec_open2(ctx, codec, nullptr) < 0)
    avcodec_free_context(&ctx);
  return ctx;
}

}  // namespace

struct Movie::Impl {
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  int videoIndex = -1;
  int audioIndex = -1;
  SwrContext* resampler = nullptr;
  SwsContext* scaler = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  AVFrame* audioFrame = nullptr;
  bool demuxed = false;
  bool ended = false;
  double timeBase = 0;       // seconds per video timestamp unit
  double frameDuration = 0;  // seconds, for frames without a timestamp
  double firstPts = NAN;
  double lastPts = NAN;
  int channels = 2;             // of the decoded sound
  SoundQueue* queue = nullptr;  // owned by sound
  std::unique_ptr<SoundStream> sound;
  std::vector<int16_t> converted;
  std::vector<uint16_t> scaled;
  bool running = false;
  double clockBase = 0;  // clock time (seconds) at which media time 0 is due
  double stoppedAt = 0;  // media time where Stop halted the clock

  ~Impl() {
    sound.reset();
    sws_freeContext(scaler);
    swr_free(&resampler);
    av_frame_free(&frame);
    av_frame_free(&audioFrame);
    av_packet_free(&packet);
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    avformat_close_input(&format);
  }

  void OpenSound() {
    const AVCodec* codec = nullptr;
    audioIndex = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, videoIndex, &codec, 0);
    if (audioIndex < 0) return;
    audio = OpenDecoder(format->streams[audioIndex], codec);
    if (!audio) return;
    // Mono stays mono (the mixer puts it on both sides at full level); more
    // channels than two are folded into stereo.
    channels = audio->ch_layout.nb_channels == 1 ? 1 : 2;
    AVChannelLayout layout;
    av_channel_layout_default(&layout, channels);
    if (swr_alloc_set_opts2(&resampler, &layout, AV_SAMPLE_FMT_S16, audio->sample_rate, &audio->ch_layout,
                            audio->sample_fmt, audio->sample_rate, 0, nullptr) < 0 ||
        swr_init(resampler) < 0) {
      swr_free(&resampler);
      return;
    }
    auto source = std::make_unique<SoundQueue>(channels, static_cast<size_t>(audio->sample_rate) * kQueueSeconds);
    SoundQueue* raw = source.get();
    sound = SoundStream::Create(std::move(source), WaveFormat{channels, audio->sample_rate, 16}, SoundBus::Wave);
    if (sound) queue = raw;
  }

  void DecodeSound(const AVPacket* p) {
    if (!queue || avcodec_send_packet(audio, p) < 0) return;
    while (avcodec_receive_frame(audio, audioFrame) == 0) {
      int room = swr_get_out_samples(resampler, audioFrame->nb_samples);
      if (room > 0) {
        converted.resize(static_cast<size_t>(room) * channels);
        uint8_t* out = reinterpret_cast<uint8_t*>(converted.data());
        int got = swr_convert(resampler, &out, room, const_cast<const uint8_t**>(audioFrame->extended_data),
                              audioFrame->nb_samples);
        if (got > 0) queue->Push(converted.data(), static_cast<size_t>(got));
      }
      av_frame_unref(audioFrame);
    }
  }

  // Leaves the next video frame in `frame`; false when there is none.
  bool NextFrame() {
    for (;;) {
      int r = avcodec_receive_frame(video, frame);
      if (r == 0) return true;
      if (r != AVERROR(EAGAIN) || demuxed) return false;
      if (av_read_frame(format, packet) < 0) {
        demuxed = true;
        avcodec_send_packet(video, nullptr);  // drain what the decoder holds
        if (queue) DecodeSound(nullptr);
        continue;
      }
      // A damaged packet is skipped; the decoder goes on with the next.
      if (packet->stream_index == videoIndex) avcodec_send_packet(video, packet);
      else if (packet->stream_index == audioIndex) DecodeSound(packet);
      av_packet_unref(packet);
    }
  }

  static double Now() { return static_cast<double>(QueryCounter()) / static_cast<double>(QueryFrequency()); }
  double MediaTime() const { return Now() - clockBase; }

  void WaitUntil(double mediaTime) {
    double due = clockBase + std::max(0.0, mediaTime);
    // A broken timestamp never holds play up for more than a second.
    double latest = Now() + 1.0;
    if (due > latest) {
      clockBase -= due - latest;
      due = latest;
    }
    for (double now = Now(); now < due; now = Now()) SleepMs(static_cast<uint32_t>((due - now) * 1000.0) + 1);
  }

  void Draw(const MovieTarget& t) {
    auto within = [](int v, int lo) { return v >= lo && v <= kMaxTargetSide; };
    if (!t.pixels || !within(t.width, 1) || !within(t.height, 1) || !within(t.surfaceWidth, 1) ||
        !within(t.surfaceHeight, 1) || !within(t.x, -kMaxTargetSide) || !within(t.y, -kMaxTargetSide) ||
        t.pitch < t.surfaceWidth * 2)
      return;
    AVPixelFormat layout = t.layout == PixelLayout::Rgb565 ? AV_PIX_FMT_RGB565 : AV_PIX_FMT_RGB555;
    scaler = sws_getCachedContext(scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                  t.width, t.height, layout, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler) return;
    scaled.resize(static_cast<size_t>(t.width) * static_cast<size_t>(t.height));
    uint8_t* planes[1] = {reinterpret_cast<uint8_t*>(scaled.data())};
    int strides[1] = {t.width * 2};
    if (sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides) <= 0) return;
    int x0 = std::max(0, -t.x), x1 = std::min(t.width, t.surfaceWidth - t.x);
    int y0 = std::max(0, -t.y), y1 = std::min(t.height, t.surfaceHeight - t.y);
    for (int row = y0; row < y1 && x0 < x1; ++row) {
      uint8_t* dst = reinterpret_cast<uint8_t*>(t.pixels) + static_cast<ptrdiff_t>(t.y + row) * t.pitch +
                     static_cast<ptrdiff_t>(t.x + x0) * 2;
      std::memcpy(dst, &scaled[static_cast<size_t>(row) * t.width + x0], static_cast<size_t>(x1 - x0) * 2);
    }
  }
};

Movie::Movie(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Movie::~Movie() = default;

std::unique_ptr<Movie> Movie::Open(std::string_view path) {
  if (!FileExists(path)) return nullptr;
  auto resolved = ResolvePath(path);
  av_log_set_level(AV_LOG_QUIET);  // a movie that will not play is the caller's message
  auto m = std::make_unique<Impl>();
  if (avformat_open_input(&m->format, resolved->c_str(), nullptr, nullptr) < 0 ||
      avformat_find_stream_info(m->format, nullptr) < 0)
    return nullptr;
  const AVCodec* codec = nullptr;
  m->videoIndex = av_find_best_stream(m->format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (m->videoIndex < 0) return nullptr;
  const AVStream* stream = m->format->streams[m->videoIndex];
  m->video = OpenDecoder(stream, codec);
  if (!m->video || m->video->width <= 0 || m->video->height <= 0) return nullptr;
  m->timeBase = av_q2d(stream->time_base);
  AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
  m->frameDuration = rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 1.0 / 25;
  m->packet = av_packet_alloc();
  m->frame = av_frame_alloc();
  m->audioFrame = av_frame_alloc();
  if (!m->packet || !m->frame || !m->audioFrame) return nullptr;
  m->OpenSound();
  return std::unique_ptr<Movie>(new Movie(std::move(m)));
}

int Movie::Width() const { return impl_->video->width; }
int Movie::Height() const { return impl_->video->height; }

void Movie::Start() {
  if (impl_->running) return;
  impl_->clockBase = Impl::Now() - impl_->stoppedAt;
  impl_->running = true;
  if (impl_->sound) impl_->sound->Play();
}

void Movie::Stop() {
  if (!impl_->running) return;
  impl_->stoppedAt = impl_->MediaTime();
  impl_->running = false;
  if (impl_->sound) {
    impl_->sound->Stop();
    impl_->queue->Clear();
  }
}

MovieFrame Movie::Update(const MovieTarget& target) {
  Impl& m = *impl_;
  if (m.ended) return MovieFrame::Ended;
  if (!m.running) Start();
  if (!m.NextFrame()) {
    m.ended = true;
    return MovieFrame::Ended;
  }
  int64_t stamp = m.frame->best_effort_timestamp;
  double pts = stamp != AV_NOPTS_VALUE ? static_cast<double>(stamp) * m.timeBase : NAN;
  if (!std::isfinite(pts)) pts = std::isnan(m.lastPts) ? 0.0 : m.lastPts + m.frameDuration;
  if (std::isnan(m.firstPts)) m.firstPts = pts;
  m.lastPts = pts;
  m.WaitUntil(pts - m.firstPts);
  m.Draw(target);
  av_frame_unref(m.frame);
  return MovieFrame::Shown;
}

}  // namespace plat
