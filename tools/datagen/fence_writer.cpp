#include "tools/datagen/fence_writer.h"

namespace datagen {

namespace {

void WriteFrame(const FenceFrame& f, int32_t size, plat::ByteWriter& out) {
  plat::ByteWriter record;
  record.I32(0);
  record.I32(f.pose);
  record.I32(f.playMode);
  record.U32(f.flags);
  record.I32(f.frameCount);
  for (float v : f.target) record.F32(v);
  for (float v : f.angles) record.F32(v);
  for (int i = 0; i < 20; ++i) record.U8(0);
  record.U8(f.startOffset);
  record.U8(f.endMargin);
  record.U8(f.afterimageRate);
  record.U8(f.afterimageFade);
  record.U32(0);
  const std::vector<uint8_t>& bytes = record.Bytes();
  for (int32_t i = 0; i < size; ++i) out.U8(bytes[static_cast<size_t>(i)]);
}

void WriteTree(const FenceTree& tree, plat::ByteWriter& out) {
  out.I32(tree.key);
  out.I32(tree.id);
  out.I32(static_cast<int32_t>(tree.children.size()));
  for (const FenceTree& child : tree.children) WriteTree(child, out);
}

}  // namespace

bool WriteFenceFile(const FenceFile& file, plat::ByteWriter& out, std::string& error) {
  if (file.frameSize < 1 || file.frameSize > 72) {
    error = "fence file: compose frame size outside 1..72";
    return false;
  }
  if (file.groups.empty() || file.groups[0].empty()) {
    error = "fence file: no groups or no fences";
    return false;
  }
  const size_t fences = file.groups[0].size();
  for (const std::vector<Fence>& group : file.groups)
    if (group.size() != fences) {
      error = "fence file: groups of different fence counts";
      return false;
    }
  if (file.trees.size() != fences) {
    error = "fence file: one follow-up tree per fence";
    return false;
  }
  out.U8('F');
  out.U8('H');
  out.U32(file.version);
  for (int32_t v : file.header) out.I32(v);
  out.I32(0);
  out.I32(file.frameSize);
  out.I32(static_cast<int32_t>(file.groups.size()));
  out.I32(static_cast<int32_t>(fences));
  for (const std::vector<Fence>& group : file.groups)
    for (const Fence& fence : group) {
      out.I32(fence.id);
      out.I32(static_cast<int32_t>(fence.frames.size()));
      out.I32(fence.keptValue);
      out.U32(fence.flags);
      out.I32(fence.keptValue2);
      out.I32(static_cast<int32_t>(fence.hits.size()));
      for (uint32_t hit : fence.hits) out.U32(hit);
      for (const FenceFrame& frame : fence.frames) WriteFrame(frame, file.frameSize, out);
    }
  for (const FenceTree& tree : file.trees) WriteTree(tree, out);
  return true;
}

}  // namespace datagen
