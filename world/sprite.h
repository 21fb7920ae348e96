// The sprite: every placed or moving picture of the game, and the global draw list.
//
// SpriteList is kept in descending layer order (the highest layer is drawn first, layer 0
// on top); equal layers keep creation order. Only Create sorts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics.h"

class sprite;
using SpriteRef = std::shared_ptr<sprite>;

extern std::vector<SpriteRef> SpriteList;

class sprite {
 public:
  int group = 0;
  int layer = 0;
  int mirrored = 0;
  Image image;
  int frame = 0;
  float blend = 0;
  float red = 0, green = 0, blue = 0;
  float alpha = 0;
  float x = 0, y = 0;
  float rotation = 0;
  float scaleX = 0, scaleY = 0;
  int hidden = 0;
  float motionExtra = 0;
  float velX = 0, velY = 0;
  int direction = 0;
  float speed = 0;
  std::string tag;
  int scrollX = 1, scrollY = 1;
  int hitHeight = 0, hitWidth = 0;
  int halfHeight = 0, halfWidth = 0;
  int width = 0;
  int halfHeight2 = 0, halfHeight3 = 0;

  // Makes a sprite of image (mid-handled), adds it to SpriteList in layer order.
  static SpriteRef Create(const Image& image, int layer, int group);
  static void RemoveAll();
  static int Count();
  static void DrawAll();
  static int CompareLayer(const sprite& a, const sprite& b);  // 1 when a.layer < b.layer
  static void ScrollAll(float dx, float dy);
  static void MoveGroup(int group, float dx, float dy);
  static void ShowGroup(int group);
  static void HideGroup(int group);
  static void SetGroupAlpha(int group, float alpha);

  void SetImage(const Image& newImage);
  void MidHandle();
  void ResetHandle();
  int Remove();  // drops the image and leaves SpriteList; returns 1
  void SetTag(const std::string& text);
  void SetFrame(float f);
  void ResetBlend();
  void SetColour(float r, float g, float b);
  void SetAlpha(float a);
  void SetPosition(float newX, float newY);
  void SetX(float newX);
  void SetY(float newY);
  void SetRotation(float angle);
  void SetScale(float sx, float sy);
  void SetScaleX(float sx);
  void SetScaleY(float sy);
  void SetMotion(float newSpeed, float angle, float extra);
  void SetMotionExtra(float v);
  void SetSpeed(float newSpeed);
  void SetDirection(float angle);

  int GetLayer() const { return layer; }
  const Image& GetImage() const { return image; }
  int GetFrame() const { return frame; }
  int GetBlend() const { return static_cast<int>(blend); }
  float GetRed() const { return red; }
  float GetGreen() const { return green; }
  float GetBlue() const { return blue; }
  float GetAlpha() const { return alpha; }
  float GetX() const { return x; }
  float GetY() const { return y; }
  float GetRotation() const { return rotation; }
  float GetScaleX() const { return scaleX; }
  float GetScaleY() const { return scaleY; }
  float GetWidth() const;   // image width * scaleX
  float GetHeight() const;  // image height * scaleY
  int IsHidden() const { return hidden; }

  void Move(float dx, float dy);
  void Turn(float degrees);  // keeps rotation within 0..360
  void Show() { hidden = 0; }
  void Hide() { hidden = 1; }
  void Draw();
};

// y below 0 gains 512; y above 512 loses 512.
void WrapSpriteY(sprite& s);
