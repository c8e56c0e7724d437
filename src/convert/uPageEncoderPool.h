// Encoding of finished page bitmaps on worker threads, so that the LZSS compression of
// one page runs while later pages are rendered. Results come back in the order the
// pages were handed in, so the file written from them is the one a single thread writes.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/graphics/Bitmap.h"

// A page as EncodeWolfImage makes it; Bytes empty when the encoder did not take the bitmap.
struct TEncodedPage {
  // Of the page as encoded (after the preparation).
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitCount = 0;
  std::vector<uint8_t> Bytes;
};

class TPageEncoderPool {
public:
  // Run by a worker on each page before it is encoded; it may replace the bitmap.
  using TPrepare = std::function<void(std::unique_ptr<TBitmap>& page)>;

  // threads >= 1 workers, each with its own compressor.
  TPageEncoderPool(int32_t threads, TPrepare prepare);
  // Stops the workers; pages not taken yet are dropped.
  ~TPageEncoderPool();
  TPageEncoderPool(const TPageEncoderPool&) = delete;
  TPageEncoderPool& operator=(const TPageEncoderPool&) = delete;

  // Queues a page bitmap (the pool owns it until it is encoded).
  void Submit(std::unique_ptr<TBitmap> bitmap, int32_t bitCount);
  // Pages handed in and not taken yet.
  int32_t Pending() const { return static_cast<int32_t>(FJobs.size()); }
  // Waits for the oldest page handed in and returns it; an exception of its encoding
  // (a stream's out of memory, say) is raised here.
  TEncodedPage TakeOldest();

private:
  struct TJob {
    std::unique_ptr<TBitmap> Bitmap;
    TEncodedPage Page;
    std::exception_ptr Error;
    bool Done = false;
  };
  void Work();

  const TPrepare FPrepare;
  std::mutex FMutex;
  std::condition_variable FWorkReady;  // a job was queued, or the pool stops
  std::condition_variable FJobDone;
  std::deque<std::shared_ptr<TJob>> FJobs;     // handed in, in order; taken from the front
  std::deque<std::shared_ptr<TJob>> FWaiting;  // not started by any worker yet
  bool FStopping = false;
  std::vector<std::thread> FWorkers;
};
