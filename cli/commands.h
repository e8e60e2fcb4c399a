#pragma once
// Entry points of the kestrilane-cli commands. Each returns the process exit code:
// 0 success, 1 a file that cannot be read, 2 a usage error.
namespace kl::cli {

}  // namespace kl::cli
