// placeholder
namespace tarvek {}
