// The tree builder's token rules (markup/TokenRules.h), made of the
// device-conditional regions and tag replacement.
#include "markup/TokenRules.h"

#include <memory>

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

const CMarkerWords& MarkerWordsOf(const CWorkingVariables& state)
{
    return state.Configuration->MarkerWords;
}

CTokenFate RegionFateOf(CWorkingVariables& state, const CXmlObject* record)
{
    const CConfiguration& configuration = *state.Configuration;
    if (record->GetMarkerKind(configuration.MarkerWords) != 0) {
        if (state.PreProcessControl == nullptr)
            state.PreProcessControl = std::make_shared<CPrePocessControl>();
        state.PreProcessControl->OnMarker(record, configuration.MarkerWords);
        return CTokenFate::Marker;
    }
    // Before the first marker no region is open, and the default decides.
    CPrePocessControl* regions = state.PreProcessControl.get();
    const int included = regions != nullptr
                             ? regions->IsIncluded(record, state.Device, configuration.DefaultExclude)
                             : configuration.DefaultExclude;
    return included != 0 ? CTokenFate::Included : CTokenFate::Excluded;
}

bool ReplacesTags(const CWorkingVariables& state)
{
    return HasTagReplacements(state.Device);
}

void ReplaceTagOf(CXmlNode* node, const CWorkingVariables& state, CXmlNode* lastAdded)
{
    ReplaceTag(node, state.Device, lastAdded);
}
