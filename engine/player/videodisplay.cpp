// The display: the refresh thread's tick, showing the due picture as a YV12 overlay scaled with its
// aspect ratio, dropping late pictures, retiring subtitles, and the audio display. Everything but
// the refresh thread runs on the play thread under the player's data lock; only that thread touches
// SDL's surface and overlays.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/base/avstubs.h"
#include "engine/base/sdlstubs.h"
#include "engine/player/playerstages.h"

namespace {

constexpr double LateDropMargin = 0.5;

void DropShownPicture(TVideoState* is) {
  {
    std::lock_guard<std::mutex> hold(is->pictq_mutex);
    is->pictq_rindex = (is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
    is->pictq_size--;
  }
  is->pictq_cond.notify_all();
}

Integer SubtitlesQueued(TVideoState* is) {
  std::lock_guard<std::mutex> hold(is->subpq_mutex);
  return is->subpq_size;
}

// The head of the picture queue as the refresh needs it.
struct THeadPicture {
  Integer Queued = 0;
  Integer Index = 0;
  double Pts = 0, DisplayTime = 0, NextDisplayTime = 0;
  Int64 Pos = 0;
};

THeadPicture HeadPicture(TVideoState* is) {
  std::lock_guard<std::mutex> hold(is->pictq_mutex);
  THeadPicture head;
  head.Queued = is->pictq_size;
  head.Index = is->pictq_rindex;
  const TVideoPicture& vp = is->pictq[head.Index];
  head.Pts = vp.pts;
  head.Pos = vp.pos;
  head.DisplayTime = vp.display_time;
  if (head.Queued > 1)
    head.NextDisplayTime = is->pictq[(head.Index + 1) % VIDEO_PICTURE_QUEUE_SIZE].display_time;
  return head;
}

void RetireSubtitles(TVideoState* is) {
  if (!is->subtitle_st) return;
  if (is->subtitle_stream_changed) {
    {
      std::lock_guard<std::mutex> hold(is->subpq_mutex);
      while (is->subpq_size) {
        FreeSubPicture(is->subpq[is->subpq_rindex]);
        is->subpq_rindex = (is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
        is->subpq_size--;
      }
      is->subtitle_stream_changed = 0;
    }
    is->subpq_cond.notify_all();
    return;
  }
  const Integer queued = SubtitlesQueued(is);
  if (queued == 0) return;
  TSubPicture& sp = is->subpq[is->subpq_rindex];
  TSubPicture* sp2 = queued > 1 ? &is->subpq[(is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE] : nullptr;
  double currentPts;
  {
    std::lock_guard<std::mutex> hold(is->clock_mutex);
    currentPts = is->video_current_pts;
  }
  if (currentPts > sp.pts + double(sp.sub.end_display_time) / 1000 ||
      (sp2 && currentPts > sp2->pts + double(sp2->sub.start_display_time) / 1000)) {
    FreeSubPicture(sp);
    is->subpq_rindex = (is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
    {
      std::lock_guard<std::mutex> hold(is->subpq_mutex);
      is->subpq_size--;
    }
    is->subpq_cond.notify_all();
  }
}

void FillBlack(SDL_Surface* screen, Integer x, Integer y, Integer w, Integer h) {
  SDL_Rect rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
  libsdl::SDL_FillRect(screen, &rect, libsdl::SDL_MapRGB(screen->format, 0, 0, 0));
}

void FillColumn(SDL_Surface* screen, Integer x, Integer y, Integer w, Integer h, Uint32 colour) {
  SDL_Rect rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
  libsdl::SDL_FillRect(screen, &rect, colour);
}

}  // namespace

void RefreshThread(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  while (!is->abort_request) {
    if (is->refresh != 1) {
      is->refresh = 1;
      PushUserEvent(FF_REFRESH_EVENT, is);
    }
    const Integer ms = is->audio_st && is->show_audio ? owner->Frdftspeed : 5;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

void VideoRefreshTimer(TVideoState* is, bool AAdvance) {
  TPlayerCore* owner = is->Owner;
  const double now = NowSeconds();
  bool seekSeen = is->seek_done;
  bool report = true;
  if (!is->video_st) {
    if (is->audio_st) {
      VideoDisplay(is);
      owner->UpdatePosition();
    }
    return;
  }
  // A redraw shows the picture on screen again, while there is one.
  if (!AAdvance) {
    bool shown;
    {
      std::lock_guard<std::mutex> hold(is->pictq_mutex);
      shown = is->pictq_shown >= 0;
    }
    if (shown) {
      VideoDisplay(is);
      owner->UpdatePosition();
      return;
    }
  }
  for (;;) {
    if (is->seek_done) seekSeen = true;
    const THeadPicture vp = HeadPicture(is);
    if (vp.Queued == 0) {
      if (!AAdvance) VideoDisplay(is);
      break;
    }
    if (AAdvance && now < vp.DisplayTime) return;
    double next = vp.NextDisplayTime;
    {
      std::lock_guard<std::mutex> hold(is->clock_mutex);
      is->video_current_pts = vp.Pts;
      is->video_current_pts_drift = vp.Pts - now;
      is->video_current_pos = vp.Pos;
      if (vp.Queued <= 1) next = vp.DisplayTime + is->video_clock - vp.Pts;
    }
    // A paused player has no later picture to catch up with: a late one is shown, not dropped.
    const bool late = owner->Fframedrop && now > next && !is->IsDevice && !is->paused;
    if (AAdvance && (late || seekSeen)) {
      {
        std::lock_guard<std::mutex> hold(is->pictq_mutex);
        is->skip_frames *= 1.05f;
      }
      if (vp.Queued > 1 || now > next + LateDropMargin || seekSeen) {
        DropShownPicture(is);
        owner->FFramesDropped++;
        report = false;
        seekSeen = is->seek_done;
        continue;
      }
    }
    RetireSubtitles(is);
    {
      std::lock_guard<std::mutex> hold(is->pictq_mutex);
      is->pictq_shown = vp.Index;
    }
    VideoDisplay(is);
    if (AAdvance) {
      DropShownPicture(is);
      owner->FFramesShown++;
    }
    break;
  }
  if (report) owner->UpdatePosition();
}

void VideoDisplay(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  if (!owner->Fscreen) VideoOpen(is, false);
  if (!owner->Fscreen) return;
  if (is->audio_st && is->show_audio)
    VideoAudioDisplay(is);
  else if (is->video_st)
    VideoImageDisplay(is);
}

Integer VideoOpen(TVideoState* is, bool AForce) {
  TPlayerCore* owner = is->Owner;
  Integer w, h;
  if (owner->Fis_full_screen && owner->Ffs_screen_width > 0) {
    w = owner->Ffs_screen_width;
    h = owner->Ffs_screen_height;
  } else if (!owner->Fis_full_screen && owner->Fscreen_width > 0) {
    w = owner->Fscreen_width;
    h = owner->Fscreen_height;
  } else {
    std::lock_guard<std::mutex> hold(is->pictq_mutex);
    w = is->has_filter_output ? is->out_width & ~1 : 640;
    h = is->has_filter_output ? is->out_height & ~1 : 480;
  }
  SDL_Surface* screen = owner->Fscreen;
  if (!AForce && screen && screen->w == is->width && screen->w == w && screen->h == is->height &&
      screen->h == h)
    return 0;
  const Uint32 flags =
      SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL | (owner->Fis_full_screen ? SDL_FULLSCREEN : SDL_RESIZABLE);
  screen = libsdl::SDL_SetVideoMode(w, h, 0, flags);
  // A palette screen (the dummy driver's default depth) cannot show YUV overlays.
  if (screen && screen->format->BitsPerPixel < 15) screen = libsdl::SDL_SetVideoMode(w, h, 32, flags);
  owner->Fscreen = screen;
  if (!screen) {
    owner->ReportError("SDL: could not set video mode.", false);
    return -1;
  }
  if (!owner->FScreenHandle) libsdl::SDL_WM_SetCaption("RIVodero", "RIVodero");
  is->width = screen->w;
  is->height = screen->h;
  return 0;
}

void AllocPicture(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  {
    std::lock_guard<std::mutex> hold(is->pictq_mutex);
    TVideoPicture& vp = is->pictq[is->pictq_windex];
    if (is->pictq_shown == is->pictq_windex) is->pictq_shown = -1;
    if (vp.overlay) libsdl::SDL_FreeYUVOverlay(vp.overlay);
    vp.overlay = nullptr;
    vp.width = is->out_width & ~1;
    vp.height = is->out_height & ~1;
    vp.pix_fmt = is->out_format;
    if (owner->Fscreen && vp.width > 0 && vp.height > 0)
      vp.overlay = libsdl::SDL_CreateYUVOverlay(vp.width, vp.height, SDL_YV12_OVERLAY, owner->Fscreen);
    vp.allocated = 1;
  }
  is->pictq_cond.notify_all();
}

SDL_Rect PictureRect(Integer AWidth, Integer AHeight, Single AAspectRatio, Integer APicWidth,
                     Integer APicHeight, AVRational ASampleAspect) {
  double aspect;
  if (AAspectRatio < 0 && AWidth > 0 && AHeight > 0) {
    aspect = double(AWidth) / AHeight;
  } else if (AAspectRatio > 0) {
    aspect = AAspectRatio;
  } else {
    aspect = ASampleAspect.num ? av_q2d(ASampleAspect) : 0;
    if (aspect <= 0) aspect = 1;
    aspect = aspect * APicWidth / std::max(APicHeight, 1);
  }
  Integer h = AHeight;
  Integer w = Integer(std::nearbyint(h * aspect)) & ~1;
  if (w > AWidth) {
    w = AWidth;
    h = Integer(std::nearbyint(w / aspect)) & ~1;
  }
  const Integer x = (AWidth - w) / 2, y = (AHeight - h) / 2;
  return SDL_Rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
}

void VideoImageDisplay(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  // Entries [subpq_rindex, + queued) stay put until this thread retires them.
  const TSubPicture* sp = is->subtitle_st && SubtitlesQueued(is) > 0 ? &is->subpq[is->subpq_rindex] : nullptr;
  // The video thread fills entries under the same lock: the picture shown is never half written.
  std::lock_guard<std::mutex> hold(is->pictq_mutex);
  // The shown picture leaves the queue but keeps its entry: redraws show that entry, not the next;
  // before the first, the head of the queue (nothing while it is empty).
  if (is->pictq_shown < 0 && is->pictq_size == 0) return;
  TVideoPicture& vp = is->pictq[is->pictq_shown >= 0 ? is->pictq_shown : is->pictq_rindex];
  if (!vp.overlay) return;
  if (sp) {
    if (vp.pts >= sp->pts + double(sp->sub.start_display_time) / 1000) {
      libsdl::SDL_LockYUVOverlay(vp.overlay);
      uint8_t* planes[3] = {vp.overlay->pixels[0], vp.overlay->pixels[2], vp.overlay->pixels[1]};
      const Integer pitches[3] = {vp.overlay->pitches[0], vp.overlay->pitches[2], vp.overlay->pitches[1]};
      for (unsigned i = 0; i < sp->sub.num_rects; ++i)
        BlendSubtitleRect(planes, pitches, *sp->sub.rects[i], vp.overlay->w, vp.overlay->h);
      libsdl::SDL_UnlockYUVOverlay(vp.overlay);
    }
  }
  SDL_Rect rect =
      PictureRect(is->width, is->height, owner->FAspectRatio, vp.width, vp.height, vp.sample_aspect_ratio);
  rect.x = Sint16(rect.x + is->xleft);
  rect.y = Sint16(rect.y + is->ytop);
  libsdl::SDL_DisplayYUVOverlay(vp.overlay, &rect);
}

void BlendSubtitleRect(uint8_t* const AData[3], const Integer ALinesize[3], const AVSubtitleRect& ARect,
                       Integer AImageWidth, Integer AImageHeight) {
  const Integer dw = std::clamp(ARect.w, 0, AImageWidth);
  const Integer dh = std::clamp(ARect.h, 0, AImageHeight);
  const Integer dx = std::clamp(ARect.x, 0, AImageWidth - dw);
  const Integer dy = std::clamp(ARect.y, 0, AImageHeight - dh);
  const auto* palette = reinterpret_cast<const uint32_t*>(ARect.data[1]);
  auto entry = [&](Integer x, Integer y) { return palette[ARect.data[0][y * ARect.linesize[0] + x]]; };
  // Chroma first, from the untouched colours: each 2 x 2 block against the pixels it covers.
  for (Integer cy = dy / 2; cy <= (dy + dh - 1) / 2 && dh > 0; ++cy)
    for (Integer cx = dx / 2; cx <= (dx + dw - 1) / 2 && dw > 0; ++cx) {
      Integer k = 0, sumA = 0, sumU = 0, sumV = 0;
      for (Integer y = 2 * cy; y < 2 * cy + 2; ++y)
        for (Integer x = 2 * cx; x < 2 * cx + 2; ++x) {
          if (x < dx || x >= dx + dw || y < dy || y >= dy + dh) continue;
          const uint32_t c = entry(x - dx, y - dy);
          const Integer a = Integer(c >> 24);
          ++k;
          sumA += a;
          sumU += Integer((c >> 8) & 0xFF);
          sumV += Integer(c & 0xFF);
        }
      const Integer ac = sumA >> 2;
      uint8_t& u = AData[1][cy * ALinesize[1] + cx];
      uint8_t& v = AData[2][cy * ALinesize[2] + cx];
      u = uint8_t((u * k * (255 - ac) + ac * sumU) / (255 * k));
      v = uint8_t((v * k * (255 - ac) + ac * sumV) / (255 * k));
    }
  for (Integer y = 0; y < dh; ++y)
    for (Integer x = 0; x < dw; ++x) {
      const uint32_t c = entry(x, y);
      const Integer a = Integer(c >> 24), yy = Integer((c >> 16) & 0xFF);
      uint8_t& p = AData[0][(dy + y) * ALinesize[0] + dx + x];
      p = uint8_t(((255 - a) * p + a * yy) / 255);
    }
}

void FreeSubPicture(TSubPicture& sp) {
  ff::avsubtitle_free(&sp.sub);
  sp.sub = AVSubtitle{};
}

void VideoAudioDisplay(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  SDL_Surface* screen = owner->Fscreen;
  if (!screen || !is->audio_ctx) return;
  // What the audio callback keeps writing is read as it stands now.
  Integer channels, rate, unplayed;
  {
    std::lock_guard<std::mutex> hold(is->clock_mutex);
    channels = std::max(is->audio_out_channels, 1);
    rate = is->audio_out_rate;
    unplayed = Integer(is->audio_buf_size) - is->audio_buf_index;
  }
  std::vector<int16_t>& samples = is->sample_copy;
  samples.resize(SAMPLE_ARRAY_SIZE);
  Integer sampleIndex;
  {
    std::lock_guard<std::mutex> hold(is->sample_mutex);
    std::copy(is->sample_array, is->sample_array + SAMPLE_ARRAY_SIZE, samples.begin());
    sampleIndex = is->sample_array_index;
  }
  Integer rdftBits = 1;
  while ((1 << rdftBits) < 2 * is->height) rdftBits++;
  const Integer nbFreq = 1 << (rdftBits - 1);
  Integer iStart;
  if (is->paused) {
    iStart = is->last_i_start;
  } else {
    const Integer dataUsed = is->show_audio == 1 ? is->width : 2 * nbFreq;
    Int64 delay = unplayed / (2 * channels);
    if (owner->Faudio_callback_time)
      delay -= (ff::av_gettime() - owner->Faudio_callback_time) * rate / 1000000;
    delay += 2 * dataUsed;
    delay = std::max<Int64>(delay, dataUsed);
    iStart = Integer(((sampleIndex - delay * channels) % SAMPLE_ARRAY_SIZE + SAMPLE_ARRAY_SIZE) %
                     SAMPLE_ARRAY_SIZE);
    if (is->show_audio == 1) {
      auto at = [&](Integer i) {
        return samples[size_t((i % SAMPLE_ARRAY_SIZE + SAMPLE_ARRAY_SIZE) % SAMPLE_ARRAY_SIZE)];
      };
      Integer bestScore = -32768 * 2 - 1, best = iStart;
      for (Integer i = 0; i < 1000; i += channels) {
        const Integer idx = iStart - i;
        const Integer a = at(idx), b = at(idx + 4 * channels), c = at(idx + 5 * channels),
                      d = at(idx + 9 * channels);
        if (b * c < 0 && a - d > bestScore) {
          bestScore = a - d;
          best = (idx % SAMPLE_ARRAY_SIZE + SAMPLE_ARRAY_SIZE) % SAMPLE_ARRAY_SIZE;
        }
      }
      iStart = best;
    }
    is->last_i_start = iStart;
  }
  if (is->show_audio == 1) {
    FillBlack(screen, is->xleft, is->ytop, is->width, is->height);
    const Uint32 white = libsdl::SDL_MapRGB(screen->format, 255, 255, 255);
    const Integer h = is->height / channels, h2 = (h * 9) / 20;
    for (Integer ch = 0; ch < channels; ++ch) {
      Integer i = iStart + ch;
      const Integer y1 = is->ytop + ch * h + h / 2;
      for (Integer x = 0; x < is->width; ++x) {
        const Integer y = (samples[size_t(i)] * h2) >> 15;
        if (y < 0)
          FillColumn(screen, is->xleft + x, y1 + y, 1, -y, white);
        else
          FillColumn(screen, is->xleft + x, y1, 1, y, white);
        i += channels;
        if (i >= SAMPLE_ARRAY_SIZE) i -= SAMPLE_ARRAY_SIZE;
      }
    }
    for (Integer ch = 1; ch < channels; ++ch)
      FillColumn(screen, is->xleft, is->ytop + ch * h, is->width, 1, white);
    libsdl::SDL_UpdateRect(screen, is->xleft, is->ytop, is->width, is->height);
    return;
  }
  const Integer used = std::min(channels, 2);
  if (rdftBits != is->rdft_bits) {
    if (is->rdft) ff::av_rdft_end(is->rdft);
    ff::av_free(is->rdft_data);
    is->rdft = ff::av_rdft_init(rdftBits, DFT_R2C);
    is->rdft_bits = rdftBits;
    is->rdft_data = static_cast<float*>(ff::av_malloc(4 * nbFreq * sizeof(float)));
  }
  if (!is->rdft || !is->rdft_data) return;
  for (Integer ch = 0; ch < used; ++ch) {
    float* data = is->rdft_data + 2 * nbFreq * ch;
    Integer i = iStart + ch;
    for (Integer x = 0; x < 2 * nbFreq; ++x) {
      const double w = double(x - nbFreq) / nbFreq;
      data[x] = float(samples[size_t(i)] * (1.0 - w * w));
      i += channels;
      if (i >= SAMPLE_ARRAY_SIZE) i -= SAMPLE_ARRAY_SIZE;
    }
    ff::av_rdft_calc(is->rdft, data);
  }
  const double f = 1.0 / std::sqrt(double(nbFreq));
  for (Integer y = 0; y < is->height; ++y) {
    auto level = [&](Integer ch) {
      const float* data = is->rdft_data + 2 * nbFreq * ch;
      const double re = data[2 * y], im = data[2 * y + 1];
      return std::min(255, Integer(std::nearbyint(std::sqrt(f * std::sqrt(re * re + im * im)))));
    };
    const Integer a = level(0);
    // A mono stream has no second block: its first channel serves both colours.
    const Integer b = used > 1 ? level(1) : a;
    FillColumn(screen, is->xpos, is->height - y, 1, 1,
               libsdl::SDL_MapRGB(screen->format, Uint8(a), Uint8(b), Uint8((a + b) / 2)));
  }
  libsdl::SDL_UpdateRect(screen, is->xpos, is->ytop, 1, is->height);
  if (++is->xpos >= is->width) is->xpos = is->xleft;
}
