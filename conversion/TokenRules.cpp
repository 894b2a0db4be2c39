// The tree builder's token rules (markup/TokenRules.h), made of the
// device-conditional regions and tag replacement.
#include "markup/TokenRules.h"

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
    CPrePocessControl& regions = *state.PreProcessControl;
    if (record->GetMarkerKind(configuration.MarkerWords) != 0) {
        regions.OnMarker(record, configuration.MarkerWords);
        return CTokenFate::Marker;
    }
    return regions.IsIncluded(record, state.Device, configuration.DefaultExclude)
               ? CTokenFate::Included
               : CTokenFate::Excluded;
}

bool ReplacesTags(const CWorkingVariables& state)
{
    return HasTagReplacements(state.Device);
}

void ReplaceTagOf(CXmlNode* node, const CWorkingVariables& state, CXmlNode* lastAdded)
{
    ReplaceTag(node, state.Device, lastAdded);
}
