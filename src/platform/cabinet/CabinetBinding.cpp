#include "platform/cabinet/CabinetBinding.h"

#include "platform/base/Library.h"
#include "platform/cabinet/Cabinet.h"

namespace {

constexpr const char* UsualReaderFile = "libmspack.so.0";
constexpr const char* UsualWriterFile = "libgcab-1.0.so.0";

struct TCabBindings {
  bool Bound = false;
  bool HasReader = false;
  bool HasWriter = false;
  TCabReaderBinding Reader;
  TCabWriterBinding Writer;
};

TCabBindings& Bindings() {
  static TCabBindings bindings;
  return bindings;
}

// Looks every entry point up; false when one is missing.
class TSymbolLookup {
public:
  explicit TSymbolLookup(HMODULE module) : FModule(module) {}
  template <typename TFunction>
  void operator()(TFunction& function, const char* name) {
    function = reinterpret_cast<TFunction>(FModule ? GetProcAddress(FModule, name) : nullptr);
    FComplete = FComplete && function != nullptr;
  }
  bool Complete() const { return FComplete && FModule != 0; }

private:
  HMODULE FModule;
  bool FComplete = true;
};

HMODULE Load(const char* fileName) { return fileName && *fileName ? LoadLibraryA(fileName) : 0; }

bool BindReader(const char* fileName, TCabReaderBinding& reader) {
  TSymbolLookup lookup(Load(fileName));
  lookup(reader.CreateDecompressor, "mspack_create_cab_decompressor");
  lookup(reader.DestroyDecompressor, "mspack_destroy_cab_decompressor");
  return lookup.Complete();
}

bool BindWriter(const char* fileName, TCabWriterBinding& writer) {
  // The GLib and GIO functions are found through the library's own dependencies.
  TSymbolLookup lookup(Load(fileName));
  lookup(writer.CabinetNew, "gcab_cabinet_new");
  lookup(writer.CabinetAddFolder, "gcab_cabinet_add_folder");
  lookup(writer.CabinetWriteSimple, "gcab_cabinet_write_simple");
  lookup(writer.FolderNew, "gcab_folder_new");
  lookup(writer.FolderAddFile, "gcab_folder_add_file");
  lookup(writer.FileNewWithBytes, "gcab_file_new_with_bytes");
  lookup(writer.FileSetAttributes, "gcab_file_set_attributes");
  lookup(writer.FileSetDateTime, "gcab_file_set_date_time");
  lookup(writer.ObjectUnref, "g_object_unref");
  lookup(writer.BytesNew, "g_bytes_new");
  lookup(writer.BytesUnref, "g_bytes_unref");
  lookup(writer.DateTimeNewUtc, "g_date_time_new_utc");
  lookup(writer.DateTimeUnref, "g_date_time_unref");
  lookup(writer.MemoryOutputStreamNew, "g_memory_output_stream_new_resizable");
  lookup(writer.MemoryOutputStreamData, "g_memory_output_stream_get_data");
  lookup(writer.MemoryOutputStreamDataSize, "g_memory_output_stream_get_data_size");
  lookup(writer.ErrorFree, "g_error_free");
  return lookup.Complete();
}

TCabBindings& BoundBindings() {
  TCabBindings& bindings = Bindings();
  if (!bindings.Bound) BindCabinetLibrary(UsualReaderFile, UsualWriterFile);
  return bindings;
}

}  // namespace

bool BindCabinetLibrary(const char* readerFile, const char* writerFile) {
  TCabBindings& bindings = Bindings();
  bindings.Bound = true;
  bindings.HasReader = BindReader(readerFile, bindings.Reader);
  bindings.HasWriter = BindWriter(writerFile, bindings.Writer);
  return bindings.HasReader || bindings.HasWriter;
}

bool LoadCabinetLibrary() {
  TCabBindings& bindings = BoundBindings();
  return bindings.HasReader || bindings.HasWriter;
}

const TCabReaderBinding* CabReaderBinding() {
  TCabBindings& bindings = BoundBindings();
  return bindings.HasReader ? &bindings.Reader : nullptr;
}

const TCabWriterBinding* CabWriterBinding() {
  TCabBindings& bindings = BoundBindings();
  return bindings.HasWriter ? &bindings.Writer : nullptr;
}
