#pragma once

class CModelData;

// The two readers behind CModelData::Load. Each fills an empty model from
// model.path and answers false when the file is missing or refused; the
// caller then frees what was built.
bool ReadCreatureMcb(CModelData& model);
bool ReadCreatureText(CModelData& model);
