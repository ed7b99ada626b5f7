#include "tools/datagen/action_table_writer.h"

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {

std::vector<uint8_t> BuildActionTable(const std::vector<ActionRecordDesc>& records) {
  plat::ByteWriter out;
  out.I32(0);
  out.I32(0);
  out.I32(static_cast<int32_t>(records.size()));
  for (const ActionRecordDesc& r : records) {
    out.I32(r.type);
    out.I32(static_cast<int32_t>(r.transitions.size()));
    out.I32(static_cast<int32_t>(r.actions.size()));
    for (const ActionTransitionDesc& t : r.transitions) {
      out.I32(t.from);
      out.I32(t.to);
      out.I32(0);
      out.I32(t.earliest);
      out.I32(t.latest);
      out.I32(t.start);
    }
    for (const ActionDesc& a : r.actions) {
      for (int v : {a.id, a.kind, a.facing, a.mode, a.pose, a.start, a.end, a.motionFirst, a.release, a.trackMotion,
                    a.actionMotion})
        out.I32(v);
      out.F32(a.sideways);
      out.F32(a.forward);
      const size_t hits = a.hits.size() < 8 ? a.hits.size() : 8;
      for (size_t i = 0; i < 8; ++i) out.I32(i < hits ? a.hits[i] : 0);
      out.I32(static_cast<int32_t>(hits));
      out.I32(0);
      out.I32(0);
    }
  }
  return out.Bytes();
}

bool WriteActionTable(const std::string& path, const std::vector<ActionRecordDesc>& records, std::string& error) {
  return WriteOutputFile(path, BuildActionTable(records), error);
}

}  // namespace datagen
