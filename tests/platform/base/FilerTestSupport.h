// Window definitions in memory for the streaming tests of every folder.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Filer.h"

inline std::vector<uint8_t> StreamBytes(TMemoryStream& stream) {
  const auto* p = static_cast<const uint8_t*>(stream.Memory());
  return {p, p + stream.Size()};
}

// The definition of root and everything it owns.
inline std::vector<uint8_t> WriteDefinition(TComponent& root) {
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteRootComponent(root);
  return StreamBytes(stream);
}

// A stream holding the bytes, at its start.
inline void FillStream(TMemoryStream& stream, const std::vector<uint8_t>& bytes) {
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
}

inline void ReadDefinition(TComponent& root, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  FillStream(stream, bytes);
  TReader reader(stream);
  reader.ReadRootComponent(root);
}
