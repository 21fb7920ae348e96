// Room names, sixteen to a band of the main world (a band is sixteen room numbers).
#include "assets/worlds/room_names.h"

#include <map>
#include <vector>

namespace {
const char* const BandNames[16][16] = {
    {"", "Corner Shop", "High Street", "The Bus Stop", "Chip Shop Alley", "Market Square", "The Old Bank",
     "Launderette", "Post Office Queue", "Town Hall Steps", "Pigeon Plaza", "Back of the Cinema", "The Arcade",
     "Car Park Level 2", "The Town Clock", "Railway Arches"},
    {"Sewer Entrance", "Drip Drip Drip", "Rat Run", "Overflow Pipe", "The Slime Pit", "Grate Expectations",
     "Pump Station", "Mossy Tunnels", "The Big Drain", "Soggy Bottom", "Outflow", "Sludge Lagoon",
     "Croc Corner", "Lost Property", "Manhole Cover", "Pipe Dreams"},
    {"Home Sweet Home", "Garden Path", "Next Door", "The Shed", "Conservatory", "Allotments", "Washing Line",
     "Garden Centre", "Paddling Pool", "Bowling Green", "Cul-de-sac", "The Nosey Neighbours", "Compost Heap",
     "Greenhouse", "Dog Kennel", "The Vicarage"},
    {"Edge of the Woods", "Bluebell Glade", "Owl Hollow", "Mushroom Ring", "Badger Sett", "The Old Oak",
     "Tree House", "Bramble Patch", "Fox Earth", "Woodcutter's Hut", "Babbling Brook", "The Clearing",
     "Toadstool Hill", "Deep Dark Wood", "Squirrel Stores", "Hunter's Lodge"},
    {"Promenade", "Pier Head", "Rock Pools", "Beach Huts", "Sandcastle Kingdom", "Lifeguard Tower",
     "Ice Cream Van", "Crab Cove", "Donkey Rides", "Lighthouse Steps", "Smugglers' Cave", "Shipwreck",
     "Seagull Cliffs", "Deckchair Row", "Candy Floss Stall", "Money Bags"},
    {"Dune Sea", "Desert Isle", "Oasis", "Camel Crossing", "Pyramid Base", "Sand Storm", "Scorpion Pass",
     "Mirage", "Lost Temple", "Sun Dial", "Bone Yard", "Cactus Garden", "Tomb of Kings", "Dry Gulch",
     "Quicksand", "Sphinx's Nose"},
    {"Factory Gates", "Clocking In", "Conveyor Chaos", "The Press", "Boiler Room", "Packing Plant",
     "Forklift Alley", "Sprocket Works", "Rivet Street", "The Foreman's Office", "Smelter", "Loading Bay",
     "Steam Vents", "Chimney Stack", "Canteen", "Scrap Heap"},
    {"Reception", "Clean Room", "Test Chamber", "Mad Scientist", "Specimen Jars", "Particle Loop",
     "Server Farm", "Cloning Vats", "Rocket Room", "Cold Storage", "Launch Control", "Fuel Tanks",
     "Mission Control", "Robot Workshop", "Countdown", "Gantry"},
    {"Cave Mouth", "Stalactite Hall", "Echo Chamber", "Glow Worms", "Underground Lake", "The Drinking Hole",
     "Crystal Grotto", "Lava Tube", "Bat Roost", "Miners' Rest", "Gold Seam", "Magma Falls",
     "Dripstone Gallery", "Troll Bridge", "Fossil Bed", "The Deep Shaft"},
    {"Foothills", "Shepherd's Hut", "Windy Ridge", "Sheep Dip", "Pylon Path", "Mast Hill", "Rolling Meadows",
     "Hang Glider Launch", "Standing Stones", "Cow Pasture", "Kite Field", "Picnic Spot", "Dry Stone Wall",
     "Signal Box", "Aerial Farm", "Telly Tw*ts Hill"},
    {"Castle Red", "Gatehouse", "Portcullis", "Moat Bridge", "Guard Room", "Armoury", "Great Hall", "Kitchens",
     "Dungeon Stairs", "The Rack", "Chapel", "Banquet Room", "Throne Room", "King's Bedchamber", "Battlements",
     "Arrow Slits"},
    {"Watch Tower", "Wizard's Study", "Mission Briefing", "Select Your Team", "The Gaming Lounge", "Library",
     "Alchemy Lab", "Treasure Room", "Jester's Den", "Bell Tower", "Falconry", "Secret Passage", "Cellar",
     "Wine Vault", "Hall of Mirrors", "Keep"},
    {"Ice Cave", "Frozen Falls", "Penguin Slide", "Igloo", "Snow Drift", "Icicle Alley", "Polar Station",
     "Mammoth Tomb", "Glacier", "Yeti's Larder", "Frost Bite", "Aurora", "Slippery Slope", "Ice Palace",
     "Snowball Fight", "Cold Feet"},
    {"Graveyard Gate", "Creaky Stairs", "Ghost Train", "Cobweb Corridor", "Peltos bumming parlour",
     "Haunted Ballroom", "The Attic", "Crypt", "Organ Loft", "Vampire's Coffin", "Witch's Kitchen",
     "Portrait Gallery", "Werewolf Den", "Trapdoor", "Mummy's Room", "Spooky Cellar"},
    {"Cloud Base", "Silver Lining", "Cumulus", "Rainbow's End", "Thunder Head", "Stork Nest", "Air Balloon",
     "Weather Vane", "Giant's Beanstalk", "Cloud Cuckoo Land", "Jet Stream", "Sky Pirates", "Kite Tails",
     "Hailstone Hall", "Drizzle", "Stratosphere"},
    {"Launch Pad", "Low Orbit", "Space Station", "Moon Base", "Crater", "Asteroid Belt", "Satellite Dish",
     "Zero Gravity", "Mars Attacks", "Alien Garden", "Comet Tail", "Star Gate", "Black Hole", "Nebula",
     "Milky Way", "Space Invaders"},
};

// Names the race goals need, whatever band they fall in.
const std::map<int, std::string> FixedNames = {
    {1, "Corner Shop"},          {81, "Desert Isle"},         {120, "Rocket Room"},
    {255, "Space Invaders"},     {79, "Money Bags"},          {133, "The Drinking Hole"},
    {38, "Emergency Generator"}, {159, "Telly Tw*ts Hill"},   {212, "Peltos bumming parlour"},
    {178, "Mission Briefing"},   {179, "Select Your Team"},   {180, "The Gaming Lounge"},
    {32, "Home Sweet Home"},     {27, "Storm Drain Skate Park"},      {160, "Castle Red"},
};
}  // namespace

std::string MainRoomName(int room) {
  auto fixed = FixedNames.find(room);
  if (fixed != FixedNames.end()) return fixed->second;
  if (room < 1 || room > 255) return "";
  return BandNames[room / 16][room % 16];
}

namespace {
std::string FromList(const std::vector<std::string>& names, int room) {
  return room >= 1 && room <= int(names.size()) ? names[size_t(room - 1)] : "";
}
}  // namespace

std::string PitfallRoomName(int room) {
  static const std::vector<std::string> names = {
      "Jungle Drop",      "Croc Creek",      "Vine Swing",      "Tar Pits",       "Scorpion Hollow",
      "Log Jam",          "Quicksand Trail", "Over the Gorge",  "Snake Ladder",   "Rotten Bridge",
      "Monkey Business",  "Tarzan's Leap",   "Bubbling Swamp",  "Swing Low",      "Swing High",
      "Last Liana",       "The Lost Idol"};
  return FromList(names, room);
}

std::string AssaultRoomName(int room) {
  static const std::vector<std::string> names = {
      "Boot Camp",       "Obstacle One",   "Crawl Nets",     "The Wall",       "Rope Bridge",
      "Mud Bath",        "Tyre Run",       "Sergeant's Yell", "Minefield",      "Monkey Bars",
      "Zip Line",        "Pressure Pads",  "Gun Range",      "Barbed Wire",    "Final Sprint",
      "The Medal"};
  return FromList(names, room);
}

std::string JailbreakRoomName(int room) {
  static const std::vector<std::string> names = {
      "Cell Block C",    "Lights Out",      "The Landing",     "Laundry Chute",   "Boiler Pipes",
      "Mess Hall",       "Solitary",        "Guard Tower",     "Exercise Yard",   "Searchlights",
      "Warden's Office", "Tunnel Dig",      "Sewer Outlet",    "Dog Kennels",     "The Fence",
      "Watch Walk",      "Gate House",      "Getaway Van",     "Border Road",     "Freedom"};
  return FromList(names, room);
}

std::string LaboratoryRoomName(int room) {
  static const std::vector<std::string> names = {
      "Airlock",          "Decontamination", "Sample Store",    "The Centrifuge", "Beaker Bay",
      "Acid Baths",       "Robot Arms",      "Test Tubes",      "Radiation Lab",  "Freezer",
      "Gene Splicer",     "Teleporter",      "Laser Grid",      "Slime Tanks",    "Control Room",
      "Specimen Hall",    "Reactor Core",    "Coolant Pumps",   "Escape Hatch",   "The Formula"};
  return FromList(names, room);
}

std::string OriginalRoomName(int room) {
  static const std::vector<std::string> names = {
      "Zonky Town",       "Zonky Drains",    "Zonky Woods",     "Zonky Beach",    "Zonky Dunes",
      "Zonky Works",      "Zonky Lab",       "Zonky Caves",     "Zonky Hills",    "Zonky Castle",
      "Zonky Ice",        "Zonky Mansion",   "Zonky Clouds",    "Zonky Moon",     "Zonky Gardens",
      "Zonky Foundry",    "Zonky Mines",     "Zonky Dungeon",   "Zonky Skies",    "Zonky Finale"};
  return FromList(names, room);
}

std::string TowerRoomName(int room) {
  static const std::vector<std::string> names = {
      "Foot of the Tower", "Red Stairwell",   "Blue Stairwell",  "Red Landing",    "Blue Landing",
      "Red Armoury",       "Blue Armoury",    "Red Lookout",     "Blue Lookout",   "Red Turret",
      "Blue Turret",       "West Rope Walk",  "The Crown Room",  "West Gallery",   "East Gallery",
      "East Rope Walk",    "Tower Top"};
  return FromList(names, room);
}
