// How a control places its text: horizontally (labels, panels, check boxes) and vertically (labels).
#pragma once

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
