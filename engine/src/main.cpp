#include <iostream>

#include "driver.hpp"

int main(int argc, char** argv)
{
    return velpra::velpra_main(argc, argv, std::cin, std::cout, std::cerr);
}
