-- Points the guide's figures at the EPS pictures made from docs/images, and leaves out every
-- figure whose picture does not exist (the screenshots are taken by a separate script).
local picture_dir

local function picture_for(src)
  local name = src:match("([^/]+)%.png$")
  if not name or not picture_dir then
    return nil
  end
  local path = picture_dir .. "/" .. name .. ".eps"
  local f = io.open(path, "r")
  if not f then
    return nil
  end
  f:close()
  return path
end

local function read_meta(meta)
  if meta["guide-images"] then
    picture_dir = pandoc.utils.stringify(meta["guide-images"])
  end
end

-- A figure is a paragraph of one picture; it goes as a whole when its picture is missing.
local function figure(para)
  if #para.content == 1 and para.content[1].t == "Image" then
    local image = para.content[1]
    local path = picture_for(image.src)
    if not path then
      return {}
    end
    image.src = path
    return para
  end
end

-- A picture inside running text keeps its caption as text when the picture is missing.
local function picture(image)
  if image.src:match("%.eps$") then
    return nil -- a figure's picture, already resolved
  end
  local path = picture_for(image.src)
  if not path then
    return image.caption
  end
  image.src = path
  return image
end

return {{Meta = read_meta}, {Para = figure}, {Image = picture}}
