// JPEG through libjpeg's classic API. libjpeg reports errors by calling error_exit, which must
// not return: it longjmps back to the setjmp in the function that called into the library.
// Those functions therefore hold no C++ object with a destructor, and the decompressor and
// its managers live in a plain struct owned by the caller.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "picture/byte_reader.h"
#include "picture/decoders.h"

namespace tolvane::picture {

namespace {

constexpr std::size_t kPiece = 4096;
// A progressive stream can hold any number of scans, each a pass over the whole image;
// real pictures use about ten.
constexpr int kMaxScans = 500;

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

struct JpegSource {
  jpeg_source_mgr manager;
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

struct JpegContext {
  jpeg_decompress_struct decompressor;
  JpegErrors errors;
  JpegSource source;
  jpeg_progress_mgr progress;
  bool created;
};

constexpr JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void ErrorExit(j_common_ptr common) {
  std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->jump, 1);
}
void EmitMessage(j_common_ptr, int) {}
void OutputMessage(j_common_ptr) {}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Hands the data over in pieces; once it is used up, an end-of-image marker, so that a
// picture cut short still finishes with what was decoded.
boolean FillInputBuffer(j_decompress_ptr decompressor) {
  JpegSource* source = reinterpret_cast<JpegSource*>(decompressor->src);
  std::size_t left = source->size - source->position;
  if (left == 0) {
    source->manager.next_input_byte = kEndOfImage;
    source->manager.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
  }
  std::size_t piece = left < kPiece ? left : kPiece;
  source->manager.next_input_byte = source->data + source->position;
  source->manager.bytes_in_buffer = piece;
  source->position += piece;
  return TRUE;
}

void SkipInputData(j_decompress_ptr decompressor, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* manager = decompressor->src;
  std::size_t skip = static_cast<std::size_t>(count);
  while (skip > manager->bytes_in_buffer) {
    skip -= manager->bytes_in_buffer;
    FillInputBuffer(decompressor);
  }
  manager->next_input_byte += skip;
  manager->bytes_in_buffer -= skip;
}

void WatchProgress(j_common_ptr common) {
  j_decompress_ptr decompressor = reinterpret_cast<j_decompress_ptr>(common);
  if (decompressor->input_scan_number > kMaxScans) ErrorExit(common);
}

// Reads the header and settles the output format. Only trivially destructible locals: see
// the note at the top.
DecodeFailure ReadHeader(JpegContext* context) {
  jpeg_decompress_struct* d = &context->decompressor;
  if (setjmp(context->errors.jump)) return "jpeg header";
  d->err = jpeg_std_error(&context->errors.manager);
  context->errors.manager.error_exit = ErrorExit;
  context->errors.manager.emit_message = EmitMessage;
  context->errors.manager.output_message = OutputMessage;
  jpeg_create_decompress(d);
  context->created = true;
  JpegSource* source = &context->source;
  source->manager.init_source = InitSource;
  source->manager.fill_input_buffer = FillInputBuffer;
  source->manager.skip_input_data = SkipInputData;
  source->manager.resync_to_restart = jpeg_resync_to_restart;
  source->manager.term_source = TermSource;
  source->manager.next_input_byte = nullptr;
  source->manager.bytes_in_buffer = 0;
  d->src = &source->manager;
  context->progress.progress_monitor = WatchProgress;
  d->progress = &context->progress;
  if (jpeg_read_header(d, TRUE) != JPEG_HEADER_OK) return "no image";
  if (d->num_components == 1) {
    d->out_color_space = JCS_GRAYSCALE;
  } else if (d->num_components == 3 &&
             (d->jpeg_color_space == JCS_YCbCr || d->jpeg_color_space == JCS_RGB)) {
#ifdef JCS_EXTENSIONS
    d->out_color_space = JCS_EXT_BGR;  // the raster's byte order, without a second pass
#else
    d->out_color_space = JCS_RGB;
#endif
  } else {
    // Four-component (CMYK, YCCK) pictures have no RGB form here; they show as no picture.
    return "colour components";
  }
  jpeg_calc_output_dimensions(d);
  return nullptr;
}

// Decodes every scanline into `pixels` (rows `stride` bytes apart, room for 3 bytes a pixel).
DecodeFailure ReadScanlines(JpegContext* context, std::uint8_t* pixels, std::size_t stride) {
  jpeg_decompress_struct* d = &context->decompressor;
  if (setjmp(context->errors.jump)) return "jpeg data";
  jpeg_start_decompress(d);
  if (d->output_components != 1 && d->output_components != 3) return "colour components";
  while (d->output_scanline < d->output_height) {
    JSAMPROW row = pixels + stride * d->output_scanline;
    if (jpeg_read_scanlines(d, &row, 1) != 1) return "jpeg data";
    const std::size_t width = d->output_width;
    if (d->output_components == 1) {
      // Greyscale: each sample repeated into blue, green and red, from the right end back.
      for (std::size_t x = width; x-- > 0;) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = row[x];
    } else {
#ifndef JCS_EXTENSIONS
      for (std::size_t x = 0; x < width; ++x) {
        JSAMPLE red = row[x * 3];
        row[x * 3] = row[x * 3 + 2];
        row[x * 3 + 2] = red;
      }
#endif
    }
  }
  return nullptr;
}

}  // namespace

DecodeFailure DecodeJpeg(const std::uint8_t* data, std::size_t size, Raster& out) {
  if (data == nullptr || size == 0) return "empty";
  JpegContext context;
  std::memset(&context, 0, sizeof context);
  context.source.data = data;
  context.source.size = size;
  Raster raster;
  DecodeFailure failure = ReadHeader(&context);
  if (failure == nullptr) {
    const jpeg_decompress_struct& d = context.decompressor;
    if (!DimensionsAllowed(d.output_width, d.output_height)) {
      failure = "dimensions";
    } else {
      raster.layout = Raster::Layout::Bgr24;
      raster.width = static_cast<int>(d.output_width);
      raster.height = static_cast<int>(d.output_height);
      raster.stride = PaddedRowBytes(raster.width, 24, 4);
      try {
        raster.pixels.resize(raster.stride * static_cast<std::size_t>(raster.height));
        failure = ReadScanlines(&context, raster.pixels.data(), raster.stride);
      } catch (...) {
        failure = "out of memory";
      }
    }
  }
  if (context.created) jpeg_destroy_decompress(&context.decompressor);
  if (failure != nullptr) return failure;
  out = std::move(raster);
  return nullptr;
}

}  // namespace tolvane::picture
