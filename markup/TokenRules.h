// What the tree builder leaves to the layers above it while it places a
// page's tokens: the configuration and device the page is read for, the
// device-conditional regions, and tag replacement. The tree builder only
// calls these; the layers above define them (the working state in
// devices/UserAgent.cpp, the rest in conversion/TokenRules.cpp), so that the
// markup layer builds without the device and conversion headers.
#pragma once

class CWorkingVariables;
class CXmlNode;
class CXmlObject;
struct CMarkerWords;

// The root's working state, made when it has none, with the configuration
// in force and its default device when it has none.
CWorkingVariables* PrepareDocumentState(CXmlNode* root);
// The words that open and close regions in the state's configuration.
const CMarkerWords& MarkerWordsOf(const CWorkingVariables& state);

// What becomes of a token outside the tree builder's own rules.
enum class CTokenFate {
    // A region marker: the regions took it, and it is not placed.
    Marker,
    // Inside the regions meant for the device.
    Included,
    // Outside them: dropped, but for the page's skeleton.
    Excluded,
};
CTokenFate RegionFateOf(CWorkingVariables& state, const CXmlObject* record);
// True when the state's device replaces tags.
bool ReplacesTags(const CWorkingVariables& state);
// Replaces the tag of `node`, which already belongs to the root's document,
// by the device's replacement text parsed into the document.
void ReplaceTagOf(CXmlNode* node, const CWorkingVariables& state, CXmlNode* lastAdded);
