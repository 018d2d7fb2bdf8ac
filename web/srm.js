// The colour of beer by its SRM number, 1 to 40: the table of RGB colours that brewing references
// publish for the Standard Reference Method (as in the Wikipedia article "Standard Reference
// Method"). A colour below 1 shows as 1, above 40 as 40; in between, the nearest whole number.
'use strict';

const SRM_COLOURS = [
  '#FFE699', '#FFD878', '#FFCA5A', '#FFBF42', '#FBB123', '#F8A600', '#F39C00', '#EA8F00',
  '#E58500', '#DE7C00', '#D77200', '#CF6900', '#CB6200', '#C35900', '#BB5100', '#B54C00',
  '#B04500', '#A63E00', '#A13700', '#9B3200', '#952D00', '#8E2900', '#882300', '#821E00',
  '#7B1A00', '#771900', '#701400', '#6A0E00', '#660D00', '#5E0B00', '#5A0A02', '#600903',
  '#520907', '#4C0505', '#470606', '#440607', '#3F0708', '#3B0607', '#3A070B', '#36080A',
];

// A colour as BeerJSON holds it ({unit: "SRM" | "Lovi" | "EBC", value}) in SRM. EBC is 1.97 times
// SRM; Lovibond, which differs from SRM by little at the colours of beer, is shown as it is.
function srmOf(color) {
  if (!color || typeof color.value !== 'number' || !isFinite(color.value)) return null;
  return color.unit === 'EBC' ? color.value / 1.97 : color.value;
}

function srmColour(srm) {
  const index = Math.min(40, Math.max(1, Math.round(srm))) - 1;
  return SRM_COLOURS[index];
}
