// The record of a line break ("<br/>"), made once: the passes that add many
// breaks copy it rather than read the tag again.
#pragma once

class CXmlObject;

const CXmlObject& BreakRecord();
