// The sprite: its operations, the global draw list kept in descending layer order, and drawing.
#include "world/sprite.h"

#include <algorithm>
#include <climits>
#include <cmath>

std::vector<SpriteRef> SpriteList;

namespace {

constexpr float DegreesToRadians = 3.14159265358979323846f / 180.0f;

// Entries that are not sprites sort last, as if below every layer.
int LayerOf(const SpriteRef& s) { return s ? s->layer : INT_MIN; }

}  // namespace

SpriteRef sprite::Create(const Image& image, int layer, int group) {
  auto s = std::make_shared<sprite>();
  s->image = image;
  s->MidHandle();
  s->blend = 3;
  s->alpha = 1;
  s->red = s->green = s->blue = 255;
  s->scaleX = s->scaleY = 1;
  s->layer = layer;
  s->mirrored = 0;
  s->motionExtra = 0;
  s->group = group;
  if (image) {
    int w = ImageWidth(image), h = ImageHeight(image);
    s->hitHeight = h - 8;
    s->hitWidth = w - 8;
    s->halfHeight = h / 2;
    s->halfWidth = w / 2;
    s->width = w;
    s->halfHeight2 = h / 2;
    s->halfHeight3 = h / 2;
  }
  SpriteList.push_back(s);
  // Neighbours are exchanged only when the earlier one has the lower layer, so the result is
  // the stable descending order: exactly what a stable sort by layer gives, without the
  // exchange sort's quadratic passes.
  std::stable_sort(SpriteList.begin(), SpriteList.end(),
                   [](const SpriteRef& a, const SpriteRef& b) { return LayerOf(a) > LayerOf(b); });
  return s;
}

void sprite::SetImage(const Image& newImage) {
  image = newImage;
  MidHandle();
}

void sprite::MidHandle() {
  if (image) SetImageHandle(image, ImageWidth(image) / 2, ImageHeight(image) / 2);
}

void sprite::ResetHandle() {
  if (image) SetImageHandle(image, 0, 0);
}

void sprite::RemoveAll() {
  std::vector<SpriteRef> all = SpriteList;
  for (const SpriteRef& s : all)
    if (s) s->Remove();
  SpriteList.clear();
}

int sprite::Remove() {
  image = nullptr;
  auto found = std::find_if(SpriteList.begin(), SpriteList.end(), [this](const SpriteRef& s) { return s.get() == this; });
  if (found != SpriteList.end()) SpriteList.erase(found);  // may free this sprite: touch nothing after
  return 1;
}

int sprite::Count() { return static_cast<int>(SpriteList.size()); }

void sprite::SetTag(const std::string& text) { tag = text; }
void sprite::SetFrame(float f) { frame = static_cast<int>(f); }
void sprite::ResetBlend() { blend = 3; }

void sprite::SetColour(float r, float g, float b) {
  red = r;
  green = g;
  blue = b;
}

void sprite::SetAlpha(float a) { alpha = a; }

void sprite::SetPosition(float newX, float newY) {
  x = newX;
  y = newY;
}

void sprite::SetX(float newX) { x = newX; }
void sprite::SetY(float newY) { y = newY; }
void sprite::SetRotation(float angle) { rotation = angle; }

void sprite::SetScale(float sx, float sy) {
  scaleX = sx;
  scaleY = sy;
}

void sprite::SetScaleX(float sx) { scaleX = sx; }
void sprite::SetScaleY(float sy) { scaleY = sy; }

void sprite::SetMotion(float newSpeed, float angle, float extra) {
  motionExtra = extra;
  direction = static_cast<int>(angle);
  speed = newSpeed;
  velX = std::cos(angle * DegreesToRadians) * newSpeed;
  velY = newSpeed * std::sin(angle * DegreesToRadians);
}

void sprite::SetMotionExtra(float v) { motionExtra = v; }

void sprite::SetSpeed(float newSpeed) {
  speed = newSpeed;
  velX = std::cos(direction * DegreesToRadians) * speed;
  velY = speed * std::sin(direction * DegreesToRadians);
}

void sprite::SetDirection(float angle) {
  direction = static_cast<int>(angle);
  velX = std::cos(direction * DegreesToRadians) * speed;
  velY = speed * std::sin(direction * DegreesToRadians);
}

float sprite::GetWidth() const { return ImageWidth(image) * scaleX; }
float sprite::GetHeight() const { return ImageHeight(image) * scaleY; }

void sprite::Move(float dx, float dy) {
  x += dx;
  y += dy;
}

void sprite::Turn(float degrees) {
  rotation += degrees;
  if (rotation > 360)
    rotation -= 360;
  else if (rotation < 0)
    rotation += 360;
}

void sprite::Draw() {
  if (hidden || !image) return;
  SetColor(static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
  ::SetRotation(rotation);
  SetBlend(static_cast<int>(blend));
  ::SetAlpha(alpha);
  if (mirrored == 1) {
    ::SetScale(-scaleX, scaleY);
    DrawImage(image, x + width, y, frame);
  } else {
    ::SetScale(scaleX, scaleY);
    DrawImage(image, x, y, frame);
  }
}

void sprite::DrawAll() {
  for (const SpriteRef& s : SpriteList)
    if (s) s->Draw();
}

int sprite::CompareLayer(const sprite& a, const sprite& b) { return a.layer < b.layer ? 1 : 0; }

void sprite::ScrollAll(float dx, float dy) {
  for (const SpriteRef& s : SpriteList) {
    if (!s) continue;
    if (s->scrollX) s->x += dx;
    if (s->scrollY) s->y += dy;
    WrapSpriteY(*s);
  }
}

void sprite::MoveGroup(int group, float dx, float dy) {
  for (const SpriteRef& s : SpriteList)
    if (s && s->group == group) s->Move(dx, dy);
}

void sprite::ShowGroup(int group) {
  for (const SpriteRef& s : SpriteList)
    if (s && s->group == group) s->hidden = 0;
}

void sprite::HideGroup(int group) {
  for (const SpriteRef& s : SpriteList)
    if (s && s->group == group) s->hidden = 1;
}

void sprite::SetGroupAlpha(int group, float newAlpha) {
  for (const SpriteRef& s : SpriteList)
    if (s && s->group == group) s->alpha = newAlpha;
}

void WrapSpriteY(sprite& s) {
  if (s.y < 0)
    s.y += 512;
  else if (s.y > 512)
    s.y -= 512;
}
