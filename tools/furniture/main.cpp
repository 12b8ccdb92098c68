// furniture DATA_DIR: draws the pictures that ship with the program into
// DATA_DIR/System and DATA_DIR/Output (run from the source tree as
// `build/tools/furniture data`).

#include <exception>
#include <iostream>

#include "tools/furniture/furniture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: furniture DATA_DIR\n"
                 "writes System/month.bmp, System/diru2.bmp, Output/b_button.jpg and the\n"
                 "rating bars Output/b_blu1..5.gif, Output/b_red1..5.gif under DATA_DIR\n";
    return 2;
  }
  try {
    for (const auto& file : meridan::furniture::WriteFurniture(argv[1]))
      std::cout << file.string() << "\n";
  } catch (const std::exception& error) {
    std::cerr << "furniture: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
