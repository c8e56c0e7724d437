#include "convert/uPageEncoderPool.h"

#include <cassert>

#include "platform/base/Streams.h"
#include "wolf/uLZSS32.h"
#include "wolf/uWolfImages.h"

TPageEncoderPool::TPageEncoderPool(int32_t threads, TPrepare prepare) : FPrepare(std::move(prepare)) {
  for (int32_t i = 0; i < threads; ++i) FWorkers.emplace_back([this] { Work(); });
}

TPageEncoderPool::~TPageEncoderPool() {
  {
    std::lock_guard lock(FMutex);
    FStopping = true;
  }
  FWorkReady.notify_all();
  for (std::thread& worker : FWorkers) worker.join();
}

void TPageEncoderPool::Submit(std::unique_ptr<TBitmap> bitmap, int32_t bitCount) {
  auto job = std::make_shared<TJob>();
  job->Page.BitCount = bitCount;
  job->Bitmap = std::move(bitmap);
  {
    std::lock_guard lock(FMutex);
    FJobs.push_back(job);
    FWaiting.push_back(std::move(job));
  }
  FWorkReady.notify_one();
}

TEncodedPage TPageEncoderPool::TakeOldest() {
  std::shared_ptr<TJob> job;
  {
    std::unique_lock lock(FMutex);
    assert(!FJobs.empty());
    job = FJobs.front();
    FJobDone.wait(lock, [&job] { return job->Done; });
    FJobs.pop_front();
  }
  if (job->Error) std::rethrow_exception(job->Error);
  return std::move(job->Page);
}

void TPageEncoderPool::Work() {
  TLZSSCompressor compressor;
  for (;;) {
    std::shared_ptr<TJob> job;
    {
      std::unique_lock lock(FMutex);
      FWorkReady.wait(lock, [this] { return FStopping || !FWaiting.empty(); });
      if (FStopping) return;
      job = std::move(FWaiting.front());
      FWaiting.pop_front();
    }
    try {
      FPrepare(job->Bitmap);
      job->Page.Width = job->Bitmap->Width();
      job->Page.Height = job->Bitmap->Height();
      TMemoryStream stream;
      const int32_t length = EncodeWolfImage(stream, *job->Bitmap, job->Page.BitCount, compressor);
      const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
      job->Page.Bytes.assign(bytes, bytes + length);
    } catch (...) {
      job->Error = std::current_exception();
    }
    job->Bitmap.reset();
    {
      std::lock_guard lock(FMutex);
      job->Done = true;
    }
    FJobDone.notify_all();
  }
}
