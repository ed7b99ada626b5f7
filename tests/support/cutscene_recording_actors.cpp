#include "tests/support/cutscene_recording_actors.h"

#include <algorithm>
#include <cstdio>

namespace cstest {

std::vector<std::string> CallLog::With(const std::string& fragment) const {
  std::vector<std::string> found;
  for (const std::string& line : lines_)
    if (line.find(fragment) != std::string::npos) found.push_back(line);
  return found;
}

CallLog& Log() {
  static CallLog log;
  return log;
}

std::string Args(std::initializer_list<double> values) {
  std::string text = "(";
  for (double v : values) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g", v);
    text += (text.size() > 1 ? "," : "") + std::string(buffer);
  }
  return text + ")";
}

int RecCreature::SetTerrain(HOBJECT terrainNode, HOBJECT terrain, int a, int b) {
  rec_.Note("SetTerrain" + Args({double(terrainNode), double(terrain), double(a), double(b)}));
  return -1;
}

int RecCreature::PlaceOnTerrain(HOBJECT terrain, int a, int b) {
  rec_.Note("PlaceOnTerrain" + Args({double(terrain), double(a), double(b)}));
  return landsOnTerrain ? 0 : -1;
}

int RecCreature::DropOnTerrain(int a, int b) {
  rec_.Note("DropOnTerrain" + Args({double(a), double(b)}));
  return landsOnTerrain ? 0 : -1;
}

void RecCreature::SetTerrainFollow(int flag) {
  terrainFollow = flag;
  rec_.Note("SetTerrainFollow(" + std::to_string(flag) + ")");
}

void RecCreature::SetPaused(int flag) { rec_.Note("SetPaused(" + std::to_string(flag) + ")"); }

void RecCreature::SetPoseSpeed(int speed) { rec_.Note("SetPoseSpeed(" + std::to_string(speed) + ")"); }

int RecCreature::PlayPose(const POSEPLAYDESC& p, const POSEPLAYDESC* f) {
  std::string call = "PlayPose" + Args({double(p.pose), double(p.from), double(p.to), double(p.playType),
                                        double(p.style), double(p.walkOut)});
  if (f)
    call += "+" + Args({double(f->pose), double(f->from), double(f->to), double(f->playType), double(f->style),
                        double(f->walkOut)});
  rec_.Note(call);
  return 0;
}

int RecCreature::ShowShadow(int flag) {
  rec_.Note("ShowShadow(" + std::to_string(flag) + ")");
  return 1;
}

HOBJECT RecCreature::FindPartNode(const char* name) {
  auto it = parts.find(name ? name : "");
  return it == parts.end() ? 0 : it->second;
}

void RecCamera::SetFieldOfView(float degrees) {
  fieldOfView = degrees;
  rec_.Note("SetFieldOfView" + Args({degrees}));
}

void RecCamera::LockTarget(SVisual* newTarget, int frames) {
  target = newTarget;
  rec_.Note(std::string("LockTarget(") + (newTarget ? newTarget->GetName() : "null") + "," + std::to_string(frames) +
            ")");
}

void RecCamera::SetTargetOffset(float x, float y, float z) {
  targetOffset = {x, y, z};
  rec_.Note("SetTargetOffset" + Args({x, y, z}));
}

void RecBoard::GetMaterialColor(int kind, float* r, float* g, float* b) {
  if (kind != 3) return;
  if (r) *r = emissive[0];
  if (g) *g = emissive[1];
  if (b) *b = emissive[2];
}

void RecBoard::SetMaterialColor(int kind, float r, float g, float b) {
  rec_.Note("SetMaterialColor" + Args({double(kind), r, g, b}));
  if (kind != 3) return;
  emissive[0] = r;
  emissive[1] = g;
  emissive[2] = b;
}

void RecDialog::Reset() {
  open = 0;
  rec_.Note("Reset()");
}

int RecDialog::Update(int frames) {
  if (stopCount >= 0) --stopCount;
  rec_.Note("Update(" + std::to_string(frames) + ")");
  return 0;
}

int RecDialog::Talk(const char* id, const char* substitute) {
  open = 1;
  rec_.Note(std::string("Talk(") + id + "," + (substitute ? substitute : "null") + ")");
  return 1;
}

int RecDialog::Ask(const char* id, const char* substitute) {
  open = 1;
  rec_.Note(std::string("Ask(") + id + "," + (substitute ? substitute : "null") + ")");
  return 1;
}

void RecDialog::SetStopCount(int n) {
  stopCount = n;
  rec_.Note("SetStopCount(" + std::to_string(n) + ")");
}

void RecDialog::SetShowFrame(int flag) { rec_.Note("SetShowFrame(" + std::to_string(flag) + ")"); }

void RecDialog::SetTextColor(int r, int g, int b) {
  rec_.Note("SetTextColor" + Args({double(r), double(g), double(b)}));
}

void RecDialog::SetTextBackColor(int r, int g, int b) {
  rec_.Note("SetTextBackColor" + Args({double(r), double(g), double(b)}));
}

int RecDialog::SetLayoutParams(const int* layout, const int* pageMode, const int* fast) {
  auto text = [](const int* v) { return v ? std::to_string(*v) : std::string("none"); };
  rec_.Note("SetLayoutParams(" + text(layout) + "," + text(pageMode) + "," + text(fast) + ")");
  return 0;
}

int RecDialog::SetPosition(int x, int y) {
  rec_.Note("SetPosition(" + std::to_string(x) + "," + std::to_string(y) + ")");
  return 0;
}

void RecSprite::SetPage(const int* frame, const int* column, const int* row) {
  auto text = [](const int* v) { return v ? std::to_string(*v) : std::string("none"); };
  rec_.Note("SetPage(" + text(frame) + "," + text(column) + "," + text(row) + ")");
}

RecordingFactory::RecordingFactory() { SetActorFactory(this); }

RecordingFactory::~RecordingFactory() { SetActorFactory(nullptr); }

bool RecordingFactory::Refused(const std::string& kind) const {
  return std::find(refuse.begin(), refuse.end(), kind) != refuse.end();
}

std::unique_ptr<SDialog> RecordingFactory::MakeDialog(const std::string& file, const std::string& directory) {
  Log().Add("make:Dialog(" + file + "," + directory + ")");
  return Refused("Dialog") ? nullptr : std::make_unique<RecDialog>();
}

std::unique_ptr<SCreature> RecordingFactory::MakeCreature(const std::string& file, int loadAllPoses,
                                                          const std::string& directory) {
  Log().Add("make:Creature(" + file + "," + std::to_string(loadAllPoses) + "," + directory + ")");
  return Refused("Creature") ? nullptr : std::make_unique<RecCreature>();
}

std::unique_ptr<STCamera> RecordingFactory::MakeCamera(HOBJECT cameraNode) {
  Log().Add("make:Camera");
  if (Refused("Camera")) return nullptr;
  auto camera = std::make_unique<RecCamera>();
  camera->node = cameraNode;
  return camera;
}

std::unique_ptr<SMusic> RecordingFactory::MakeMusic() {
  Log().Add("make:Music");
  return Refused("Music") ? nullptr : std::make_unique<RecMusic>();
}

std::unique_ptr<SViewPort> RecordingFactory::MakeViewport(int x, int y, int width, int height) {
  Log().Add("make:Viewport" + Args({double(x), double(y), double(width), double(height)}));
  return Refused("Viewport") ? nullptr : std::make_unique<RecViewPort>();
}

std::unique_ptr<SWave> RecordingFactory::MakeWave(const std::string& file, const std::string& directory) {
  Log().Add("make:Wave(" + file + "," + directory + ")");
  return Refused("Wave") ? nullptr : std::make_unique<RecWave>();
}

std::unique_ptr<SBoard> RecordingFactory::MakeBoard(const std::string& file, const std::string& directory, int frames,
                                                    int width, int height) {
  Log().Add("make:Board(" + file + "," + directory + ")" + Args({double(frames), double(width), double(height)}));
  return Refused("Board") ? nullptr : std::make_unique<RecBoard>();
}

std::unique_ptr<SFade> RecordingFactory::MakeFade(int x, int y, int width, int height) {
  Log().Add("make:Fade" + Args({double(x), double(y), double(width), double(height)}));
  return Refused("Fade") ? nullptr : std::make_unique<RecFade>();
}

std::unique_ptr<SSprite> RecordingFactory::MakeSprite(const std::string& file, const std::string& directory, int frames,
                                                      int columns, int rows, int grid) {
  Log().Add("make:Sprite(" + file + "," + directory + ")" +
            Args({double(frames), double(columns), double(rows), double(grid)}));
  return Refused("Sprite") ? nullptr : std::make_unique<RecSprite>();
}

}  // namespace cstest
