#include "components/efficacy.h"

#include <strings.h>

#include "base/debug_trace.h"
#include "components/efficacy_file.h"
#include "components/efficacy_texture_directory.h"
#include "components/sword_man.h"
#include "engine/core/node_transforms.h"
#include "engine/media/sound_table.h"
#include "platform/crt.h"
#include "platform/files.h"

namespace {

// Effect files are a few kilobytes; anything near this is not one.
constexpr size_t kMaxEfficacyFileBytes = 4u * 1024u * 1024u;

}  // namespace

CEfficacy::CEfficacy() { owner = &ownerElement; }

CEfficacy::~CEfficacy() { Unload(); }

int CEfficacy::Load(const char* fileName, int reservedValue, HOBJECT camera, CMSwordMan* creature, int drive) {
  ownerElement.Bind(creature);
  return LoadFile(fileName, reservedValue, camera, &ownerElement, drive);
}

int CEfficacy::LoadFile(const char* fileName, int, HOBJECT camera, ModelVirtualClass* ownerOf, int drive) {
  owner = ownerOf;
  cameraNode = camera;
  driveCamera = drive;
  Unload();
  name = fileName ? fileName : "";
  playing = 1;
  return ReadFile(".\\Data\\Efficacy\\" + name + ".efc");
}

int CEfficacy::ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(path, bytes, kMaxEfficacyFileBytes)) return 0;
  efc::EFCFILEDESC file;
  std::string why;
  if (!ReadEfficacyFile(bytes, &file, &why)) {
    DebugTrace("Efficacy file %s refused: %s", path.c_str(), why.c_str());
    return 0;
  }
  BuildElements(file);
  EfficacyTextureDirectory effectTextures;
  if (owner) Place();
  return 1;
}

void CEfficacy::BuildElements(efc::EFCFILEDESC& file) {
  reserved = file.reserved;
  frameCount = file.frameCount;
  {
    EfficacyTextureDirectory effectTextures;
    for (efc::EFCSECTIONALRECORD& data : file.sectionals) {
      auto element = BuildSectional(data.shape, blendControl);
      element->SetName(data.header.name.c_str());
      sectionals.push_back({std::move(data), std::move(element)});
    }
    for (efc::EFCTRACTIONRECORD& data : file.tractions) {
      auto element = std::make_unique<A_TractionEfficacy>();
      element->SetActive(blendControl);
      element->SetName(data.header.name.c_str());
      element->SetAdditiveBlend(1, 0.2f);
      tractions.push_back({std::move(data), std::move(element)});
    }
    for (efc::EFCPARTICLERECORD& data : file.particles) {
      auto element = BuildParticle(data.emitter);
      element->SetName(data.header.name.c_str());
      particles.push_back({std::move(data), std::move(element)});
    }
    for (efc::EFCLIGHTRECORD& data : file.lights) {
      auto element = std::make_unique<A_LightingModel>();
      element->SetName(data.header.name.c_str());
      element->CreateLight(2, 1.0f, 1, 1, 1);
      lights.push_back({std::move(data), std::move(element)});
    }
    const bool driven = cameraNode && driveCamera && !file.cameras.empty();
    if (driven) {
      RotateNode(cameraNode, 0, 0, TRANSFORM_SET);
      SetNodePosition(cameraNode, 0, 0, 0, TRANSFORM_SET);
    }
    for (efc::EFCCAMERARECORD& data : file.cameras) {
      CAMERARECORD record;
      for (const efc::EFCCAMERAKEYDESC& k : data.keys)
        record.originals.push_back({k.target, k.eye, k.movement, k.orbitAxis});
      record.followed.assign(data.keys.size(), 0);
      record.element = std::make_unique<A_Camera>();
      record.element->LookAt(0, 10, -15, 0, 0, 0, 0);
      record.element->SetName(data.header.name.c_str());
      record.data = std::move(data);
      cameras.push_back(std::move(record));
    }
    // One camera element, chosen at random, drives the engine camera.
    if (driven) cameras[plat::Rand() % cameras.size()].element->node = cameraNode;
  }
  for (efc::EFCCREATURERECORD& data : file.creatures) {
    auto element = std::make_unique<A_MCObject>();
    element->LoadModel(data.model.c_str());
    element->SetName(data.header.name.c_str());
    element->PlayPose(0, -1, -1, 0);
    creatures.push_back({std::move(data), std::move(element)});
  }
  for (efc::EFCSOUNDRECORD& data : file.sounds) {
    SOUNDRECORD record;
    for (const SOUNDRECORD& earlier : sounds) {
      if (strcasecmp(earlier.data.wave.c_str(), data.wave.c_str()) == 0) {
        record.sound = CloneSound(earlier.sound);
        break;
      }
    }
    if (!record.sound) record.sound = LoadSound(data.wave.c_str());
    StopSound(record.sound);
    record.data = std::move(data);
    sounds.push_back(std::move(record));
  }
}

void CEfficacy::Show(int flag) {
  for (auto& r : sectionals) r.element->SetVisible(flag);
  for (auto& r : tractions) r.element->SetVisible(flag);
  for (auto& r : particles) r.element->SetVisible(flag);
  for (auto& r : creatures) r.element->SetVisible(flag);
  for (auto& r : lights) r.element->SetVisible(flag);
  if (flag == 1 && !playing && owner) Place();
  playing = flag;
  currentFrame = 0;
}

namespace {

// Frees a list last record first; answers whether there was any.
template <class List>
bool FreeLastFirst(List& list) {
  bool any = !list.empty();
  while (!list.empty()) list.pop_back();
  return any;
}

}  // namespace

void CEfficacy::Unload() {
  for (CAMERARECORD& r : cameras) r.element->ForgetNode();
  for (SOUNDRECORD& r : sounds) FreeSound(r.sound);
  bool any = FreeLastFirst(sectionals);
  any = FreeLastFirst(tractions) || any;
  any = FreeLastFirst(particles) || any;
  any = FreeLastFirst(lights) || any;
  any = FreeLastFirst(cameras) || any;
  any = FreeLastFirst(creatures) || any;
  any = FreeLastFirst(sounds) || any;
  frameCount = 0;
  currentFrame = 0;
  if (any) {
    playing = 0;
    name.clear();
  }
}

namespace {

// The element whose name has the searched name's length and its bytes from
// the tenth on; the first nine (the prefix) are not compared.
template <class List>
ModelVirtualClass* FindNamed(List& list, const std::string& wanted) {
  for (auto& r : list) {
    std::string own = r.element->GetName().substr(0, efc::kNameField - 1);
    if (own.size() == wanted.size() &&
        own.compare(efc::kPrefixBytes, std::string::npos, wanted, efc::kPrefixBytes, std::string::npos) == 0)
      return r.element.get();
  }
  return nullptr;
}

bool HasPrefix(const std::string& text, const char* prefix) {
  return text.compare(0, efc::kPrefixBytes, prefix, efc::kPrefixBytes) == 0;
}

}  // namespace

ModelVirtualClass* CEfficacy::FindTarget(const std::string& target) {
  if (target.size() < static_cast<size_t>(efc::kPrefixBytes) || target[0] != '#') return owner;
  ModelVirtualClass* found = nullptr;
  if (HasPrefix(target, efc::kSectionalPrefix)) found = FindNamed(sectionals, target);
  else if (HasPrefix(target, efc::kParticlePrefix)) found = FindNamed(particles, target);
  else if (HasPrefix(target, efc::kLightPrefix)) found = FindNamed(lights, target);
  else if (HasPrefix(target, efc::kCreaturePrefix)) found = FindNamed(creatures, target);
  return found ? found : owner;
}
