// The entry points of the two backend libraries, looked up by name when the cabinet
// library is first used. A backend with any entry point missing counts as not loaded.
#pragma once

#include <libgcab.h>
#include <mspack.h>

struct TCabReaderBinding {
  decltype(&mspack_create_cab_decompressor) CreateDecompressor = nullptr;
  decltype(&mspack_destroy_cab_decompressor) DestroyDecompressor = nullptr;
};

struct TCabWriterBinding {
  decltype(&gcab_cabinet_new) CabinetNew = nullptr;
  decltype(&gcab_cabinet_add_folder) CabinetAddFolder = nullptr;
  decltype(&gcab_cabinet_write_simple) CabinetWriteSimple = nullptr;
  decltype(&gcab_folder_new) FolderNew = nullptr;
  decltype(&gcab_folder_add_file) FolderAddFile = nullptr;
  decltype(&gcab_file_new_with_bytes) FileNewWithBytes = nullptr;
  decltype(&gcab_file_set_attributes) FileSetAttributes = nullptr;
  decltype(&gcab_file_set_date_time) FileSetDateTime = nullptr;
  decltype(&g_object_unref) ObjectUnref = nullptr;
  decltype(&g_bytes_new) BytesNew = nullptr;
  decltype(&g_bytes_unref) BytesUnref = nullptr;
  decltype(&g_date_time_new_utc) DateTimeNewUtc = nullptr;
  decltype(&g_date_time_unref) DateTimeUnref = nullptr;
  decltype(&g_memory_output_stream_new_resizable) MemoryOutputStreamNew = nullptr;
  decltype(&g_memory_output_stream_get_data) MemoryOutputStreamData = nullptr;
  decltype(&g_memory_output_stream_get_data_size) MemoryOutputStreamDataSize = nullptr;
  decltype(&g_error_free) ErrorFree = nullptr;
};

// The bound backends (binding the usual libraries on the first call); nullptr for one
// that did not load.
const TCabReaderBinding* CabReaderBinding();
const TCabWriterBinding* CabWriterBinding();
